#include "common/Guarded.h"
#include "common/frmError.h"
#include "hostapi/HostSession.h"
#include "platform/format/DateTexts.h"
#include "platform/format/PrintQString.h"
#include "platform/report/Report.h"
#include "support/FirebirdFixture.h"
#include "support/RecordingInteraction.h"
#include "support/TestTools.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <tuple>

using namespace lumetra;

namespace {

class ErrorWindowTest : public test::FirebirdFixture {
protected:
    void SetUp() override
    {
        FirebirdFixture::SetUp();
        // A locality whose postcode would print with a leading zero in the listings.
        exec({
            "insert into PROVINCIA (ID_PROVINCIA, CODIGO, DESCRIPCION) values (60, '60', 'Provincia Prueba')",
            "insert into LOCALIDAD (ID_LOCALIDAD, ID_PROVINCIA, CODIGO_POSTAL, DESCRIPCION) "
            "values (60, 60, 8001, 'Localidad Prueba')",
            "update EMPRESA set NOMBRE_COMERCIAL = 'Óptica Prueba', DIRECCION = 'Calle Mayor, 3', "
            "ID_LOCALIDAD = 60, TELEFONO = '911 111 111', FAX = '922 222 222', CORREO = 'soporte@prueba.example'",
        });
        HostOptions opciones;
        opciones.baseDatos = path;
        sesion = std::make_unique<HostSession>(opciones, &principal);
    }
    void TearDown() override
    {
        sesion.reset();
        FirebirdFixture::TearDown();
    }
    HostParams* params() { return sesion->params(); }

    QWidget principal;
    std::unique_ptr<HostSession> sesion;
    test::RecordingInteraction interaccion;
};

// A unit that reports its failures the way every form and data module does.
struct Unidad {
    HostParams* parametros;
    void MostrarError(const QString& funcion, const QString& descripcion)
    {
        TfrmError::Mostrar(parametros, QStringLiteral("Hoja de Caja"), funcion, descripcion);
    }
};

template <class T>
T* control(QWidget& w, const char* nombre)
{
    return w.findChild<T*>(QLatin1String(nombre));
}

TEST_F(ErrorWindowTest, EachFailureShowsItsOwnWindowOwnedByTheHost)
{
    QStringList funciones;
    interaccion.onDialog = [&](QDialog& d) {
        EXPECT_EQ(d.parent(), &principal);
        funciones << control<QLineEdit>(d, "edtFuncion")->text();
        return int(QDialog::Accepted);
    };
    Unidad unidad{params()};
    Guarded(unidad, "AbrirQuery", []() -> int { throw std::runtime_error("tabla bloqueada"); }, -1);
    Guarded(unidad, "TablaHojaCaja", []() -> int { throw std::runtime_error("sin conexión"); }, -1);

    EXPECT_EQ(funciones, QStringList({"AbrirQuery", "TablaHojaCaja"}));
    EXPECT_EQ(interaccion.dialogs,
              QStringList({"Pantalla: Hoja de Caja | Función: AbrirQuery | Descripción: tabla bloqueada",
                           "Pantalla: Hoja de Caja | Función: TablaHojaCaja | Descripción: sin conexión"}));
    EXPECT_TRUE(principal.findChildren<TfrmError*>().isEmpty()) << "every error window is freed once it closes";
}

TEST_F(ErrorWindowTest, TheInstructionsShowWholeAndNothingOverlaps)
{
    TfrmError ventana(&principal);
    ventana.show();
    auto* instrucciones = control<QLabel>(ventana, "txtDetTitulo");
    ASSERT_NE(instrucciones, nullptr);
    // Every line of them fits the label, whatever font stood in for the window's.
    EXPECT_GE(instrucciones->height(), instrucciones->heightForWidth(instrucciones->width()));
    const QWidget* panel = control<QWidget>(ventana, "Panel1");
    EXPECT_LE(instrucciones->geometry().bottom(), panel->height());
    // What follows the panel starts below it and the buttons stay inside the window.
    EXPECT_GT(control<QWidget>(ventana, "cbxFecha")->y(), panel->geometry().bottom());
    EXPECT_LE(control<QWidget>(ventana, "btnSalir")->geometry().bottom(), ventana.height());
    ventana.grab().save(QStringLiteral(LUMETRA_ARTIFACTS "/ventana-error.png"));
}

TEST_F(ErrorWindowTest, MultiLineMessageShowsInFullOnScreenAndOnPaper)
{
    const QString mensaje = "Error al abrir la consulta\nlínea 2: columna desconocida\nlínea 3: IMPORTE_M9";
    QString enPantalla;
    interaccion.onDialog = [&](QDialog& d) {
        d.show();
        enPantalla = control<QPlainTextEdit>(d, "memDescripcion")->toPlainText();
        control<QPushButton>(d, "btnImprimir")->click();
        EXPECT_FALSE(d.isVisible()) << "printing closes the window after the preview";
        return d.result();
    };
    TfrmError::Mostrar(params(), "Hoja de Caja", "Imprimir", mensaje);

    EXPECT_EQ(enPantalla, mensaje);
    ASSERT_EQ(interaccion.outputs.size(), 1);
    const auto& salida = interaccion.outputs[0];
    EXPECT_EQ(salida.name, "error");
    EXPECT_TRUE(test::bandTexts(salida.document, "bndDetalle").value(0).endsWith(mensaje));
}

TEST_F(ErrorWindowTest, ClosingWaysAndWhatTheyPrint)
{
    const std::tuple<const char*, std::function<void(TfrmError&)>, bool, int> casos[] = {
        {"Salir closes without printing", [](TfrmError& f) { control<QPushButton>(f, "btnSalir")->click(); }, true, 0},
        {"Escape closes without printing", [](TfrmError& f) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&f, &escape);
         }, true, 0},
        {"E-Mail sends and shows nothing", [](TfrmError& f) { control<QPushButton>(f, "btnCorreo")->click(); }, false, 0},
    };
    for (const auto& [nombre, accion, cierra, impresiones] : casos) {
        SCOPED_TRACE(nombre);
        interaccion.outputs.clear();
        TfrmError ventana(&principal);
        ventana.setResult(-1);
        ventana.show();
        accion(ventana);
        EXPECT_EQ(!ventana.isVisible(), cierra);
        if (cierra) {
            EXPECT_EQ(ventana.result(), int(QDialog::Accepted));
        }
        EXPECT_EQ(interaccion.outputs.size(), impresiones);
        EXPECT_TRUE(interaccion.messages.isEmpty());
    }
}

TEST_F(ErrorWindowTest, ReportCarriesShopIdentityAndErrorWithPlainPostcode)
{
    TfrmError ventana(&principal);
    ventana.SetParametros(params());
    ventana.SetPantalla("Diario de Iva - Diario Detallado");
    ventana.SetFuncion("AbrirQuery");
    ventana.SetDescripcion("sin permiso");
    const ReportDocument doc = ventana.InformeDocumento();

    EXPECT_FALSE(doc.failed()) << doc.error.toStdString();
    EXPECT_EQ(doc.dump().trimmed(), "p1: PH D");
    const QStringList cabecera = test::bandTexts(doc, "bndCabecera").value(0);
    ASSERT_EQ(cabecera.size(), 2);
    EXPECT_EQ(cabecera[0], "Informe de error");
    EXPECT_TRUE(cabecera[1].startsWith(FormatDateTime("dd/mm/yyyy", DateTime::now())));
    EXPECT_EQ(test::bandTexts(doc, "bndDetalle").value(0),
              QStringList({"Óptica Prueba", "Calle Mayor, 3", "8001", " - ", "Localidad Prueba", "Provincia Prueba",
                           "soporte@prueba.example", "Tel.- ", "911 111 111", "Fax.- ", "922 222 222",
                           "Datos del error", "Pantalla:", "Diario de Iva - Diario Detallado", "Función:",
                           "AbrirQuery", "Descripción:", "sin permiso"}));

    // A second print reflects values changed in between; without a host block the shop is blank.
    ventana.SetFuncion("Finalizar");
    ventana.SetParametros(nullptr);
    const QStringList sinEmpresa = test::bandTexts(ventana.InformeDocumento(), "bndDetalle").value(0);
    EXPECT_TRUE(sinEmpresa.contains("Finalizar"));
    EXPECT_FALSE(sinEmpresa.contains("Óptica Prueba"));
}

TEST_F(ErrorWindowTest, DateTimeTextOnActivation)
{
    EXPECT_EQ(TfrmError::TextoFecha(DateTime::fromDateTime(QDateTime(QDate(2012, 12, 4), QTime(10, 5)))),
              "martes, 4 de diciembre de 2012  10:05");
    EXPECT_EQ(TfrmError::TextoFecha(DateTime::fromDateTime(QDateTime(QDate(2013, 6, 1), QTime(9, 7)))),
              "sábado, 1 de junio de 2013  09:07");

    TfrmError ventana(&principal);
    const QString antes = TfrmError::TextoFecha(DateTime::now());
    ventana.show();
    ventana.activateWindow();
    QApplication::processEvents();
    const QString escrita = control<QLabel>(ventana, "txtFecha")->text();
    EXPECT_TRUE(escrita == antes || escrita == TfrmError::TextoFecha(DateTime::now())) << escrita.toStdString();
}

} // namespace

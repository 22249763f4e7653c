// The listing window while a listing runs, as a person uses it: closing it mid-load, pressing
// F5 again, cancelling while the pages are laid out, typed dates, keys on the window's frame,
// no printer installed.
#include "support/ListingWindowFixture.h"
#include "support/TestTools.h"

#include "platform/db/Database.h"
#include "platform/db/Transaction.h"
#include "platform/format/PrintQString.h"
#include "platform/ui/DateEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QElapsedTimer>

using namespace lumetra;

namespace {

class WindowInUseTest : public test::ListingWindowFixture {
protected:
    void SetUp() override
    {
        ListingWindowFixture::SetUp();
        exec({"insert into GRUPO (ID_GRUPO, CODIGO) values (1, 'GR')",
              "insert into FORMA_PAGO (ID_FORMA_PAGO, CODIGO, DESCRIPCION, TIPO_PAGO) values (10, 10, 'Visa', 2)"});
        // Direct sales on days of April and June 2013, some paid by card.
        int id = 0;
        for (const char* dia : {"2013-04-02", "2013-04-20", "2013-06-10", "2013-06-14", "2013-06-15", "2013-06-28"}) {
            for (int i = 0; i < 8; ++i) {
                ++id;
                const QString when = QStringLiteral("%1 %2:00").arg(QString::fromLatin1(dia)).arg(10 + i);
                exec({QStringLiteral("insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1, "
                                     "FS_COBRO, FS_SERIE) values (%1, 2, '%2', '%2', 0, %1, 121, %1, 'A')").arg(id).arg(when),
                      QStringLiteral("insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, LIQUIDO_M1, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO) "
                                     "values (%1, 'MON-%1', 'Montura', 121, 100, 21, 21, 1)").arg(id),
                      QStringLiteral("insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, TICKET) "
                                     "values (%1, 2, '%2', 121, %3, %1)").arg(id).arg(when).arg(i % 2 ? 10 : 1)});
            }
        }
    }

    // The window, with only the cash sheet to print.
    void openCashSheet()
    {
        open();
        control<QCheckBox>(QStringLiteral("chxInformeGrupos"))->setChecked(false);
        control<QCheckBox>(QStringLiteral("chxInformeTarjetas"))->setChecked(false);
    }

    // Sets the cash sheet's dates to June as values and prints with a click.
    void printCashSheet()
    {
        if (!window)
            openCashSheet();
        control<QComboBox>(QStringLiteral("cbxFechaCaja"))->setCurrentText(QStringLiteral("...Entre..."));
        control<DateEdit>(QStringLiteral("edtFechaInicioCaja"))->setValue(DateTime::fromYmd(2013, 6, 1));
        control<DateEdit>(QStringLiteral("edtFechaFinCaja"))->setValue(DateTime::fromYmd(2013, 6, 30));
        control<QToolButton>(QStringLiteral("nbiImprimir"))->click();
        QApplication::processEvents();
    }

    // The progress window up now (the module's own class: found by its name), if any.
    QWidget* progress() const
    {
        const auto all = host->findChildren<QWidget*>(QStringLiteral("frmPorcentajeListado"));
        return all.isEmpty() ? nullptr : all.last();
    }

    QStringList outputNames() const
    {
        QStringList names;
        for (const auto& o : interaction->outputs)
            names << o.name + (o.previewed ? QStringLiteral(" (vista previa)") : QString());
        return names;
    }
};

TEST_F(WindowInUseTest, ACloseWhileTheListingLoadsStopsItAndClosesTheWindowOnceStopped)
{
    open();
    const int before = audits();
    QPointer<QWidget> ventana = window;
    bool closed = false;
    interaction->onProcessEvents = [&] {
        if (!closed && progress()) {
            closed = true;
            window->parentWidget()->close();   // the close box of the window's frame
            // Still there: the load is running on its data.
            EXPECT_FALSE(ventana.isNull());
        }
    };
    printCashSheet();
    interaction->onProcessEvents = nullptr;
    EXPECT_TRUE(closed);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ventana.isNull());
    window = nullptr;
    EXPECT_TRUE(interaction->outputs.isEmpty());
    EXPECT_TRUE(interaction->messages.isEmpty()) << interaction->messages.join('\n').toStdString();
    EXPECT_EQ(audits(), before + 1);
}

// Another workstation holds back the access row the close writes (its own, not yet committed,
// has the same key): the close waits a few seconds, says why in the error window, and the
// window still closes.
TEST_F(WindowInUseTest, AnAccessLogHeldByAnotherWorkstationDoesNotHangTheClose)
{
    exec({"create unique index IDX_ACCESO_UNO on ACCESO (ID_USUARIO, ID_OPCION)"});
    Database other;
    other.open(path);
    Transaction held(other);
    held.start();
    other.execute(QStringLiteral("insert into ACCESO (ID_USUARIO, ID_OPCION) values (1, 4001)"));

    open();
    QPointer<QWidget> ventana = window;
    QElapsedTimer clock;
    clock.start();
    closeWindow();
    const qint64 waited = clock.elapsed();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ventana.isNull()) << "the window closes";
    EXPECT_LT(waited, 30000) << "the close waited " << waited << " ms";
    ASSERT_EQ(interaction->dialogs.size(), 1) << interaction->dialogs.join('\n').toStdString();
    EXPECT_TRUE(interaction->dialogs.first().contains(QStringLiteral("otro puesto tiene bloqueado el registro de accesos")))
        << interaction->dialogs.first().toStdString();

    held.rollback();
    EXPECT_EQ(audits(), 0) << "the held row went with its transaction, and the refused one was never written";
}

TEST_F(WindowInUseTest, APrintAskedForWhileOneRunsIsRefused)
{
    openCashSheet();
    int asked = 0;
    interaction->onProcessEvents = [&] {
        if (asked < 3 && progress()) {
            ++asked;
            key(control<DateEdit>(QStringLiteral("edtFechaInicioCaja")), Qt::Key_F5);
            control<QToolButton>(QStringLiteral("nbiImprimir"))->click();
        }
    };
    printCashSheet();
    interaction->onProcessEvents = nullptr;
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(outputNames(), QStringList{"hoja (vista previa)"});
    EXPECT_TRUE(interaction->messages.isEmpty()) << interaction->messages.join('\n').toStdString();
    // The window takes commands again.
    interaction->outputs.clear();
    key(control<DateEdit>(QStringLiteral("edtFechaInicioCaja")), Qt::Key_F5);
    EXPECT_EQ(outputNames(), QStringList{"hoja (vista previa)"});
}

TEST_F(WindowInUseTest, ACancelWhileThePagesAreLaidOutStopsThemAndTheNextPrintIsWhole)
{
    printCashSheet();
    ASSERT_EQ(interaction->outputs.size(), 1);
    const QString whole = interaction->outputs.first().document.dump();
    interaction->outputs.clear();

    for (const char* phase : {"Buscando", "Página"}) {
        SCOPED_TRACE(phase);
        bool cancelled = false;
        interaction->onProcessEvents = [&] {
            QWidget* p = progress();
            if (!cancelled && p && p->findChild<QLabel*>(QStringLiteral("Label1"))->text().startsWith(QString::fromUtf8(phase))) {
                cancelled = true;
                p->findChild<QPushButton*>(QStringLiteral("btnCancelar"))->click();
            }
        };
        control<QToolButton>(QStringLiteral("nbiImprimir"))->click();
        QApplication::processEvents();
        interaction->onProcessEvents = nullptr;
        EXPECT_TRUE(cancelled);
        EXPECT_TRUE(interaction->outputs.isEmpty());
        EXPECT_TRUE(interaction->messages.isEmpty()) << interaction->messages.join('\n').toStdString();
        // No progress window is left behind.
        EXPECT_EQ(progress(), nullptr);

        control<QToolButton>(QStringLiteral("nbiImprimir"))->click();
        QApplication::processEvents();
        ASSERT_EQ(interaction->outputs.size(), 1);
        EXPECT_EQ(interaction->outputs.first().document.dump(), whole);
        interaction->outputs.clear();
    }
}

TEST_F(WindowInUseTest, AQuarterTypedAsWrittenPrintsTheQuarter)
{
    openCashSheet();
    auto* operador = control<QComboBox>(QStringLiteral("cbxFechaCaja"));
    operador->setCurrentText(QStringLiteral("...Entre..."));
    auto* desde = control<DateEdit>(QStringLiteral("edtFechaInicioCaja"));
    auto* hasta = control<DateEdit>(QStringLiteral("edtFechaFinCaja"));
    // Reached with Tab, as a person does, over the date the window opened with.
    const auto type = [&](DateEdit* field, const QString& text) {
        operador->setFocus();
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field, text);
    };
    type(desde, QStringLiteral("01/04/2013"));
    type(hasta, QStringLiteral("30062013"));
    operador->setFocus();
    key(desde, Qt::Key_F5);
    ASSERT_EQ(interaction->outputs.size(), 1);
    QStringList days;
    for (const PrintedBand& b : test::bands(interaction->outputs.first().document, QStringLiteral("bndGrupoCabecera")))
        days << b.group;
    days.removeDuplicates();
    EXPECT_EQ(days, (QStringList{"02/04/2013", "20/04/2013", "10/06/2013", "14/06/2013", "15/06/2013", "28/06/2013"}));

    // An emptied date and an impossible one are refused with their reason, nothing printed.
    interaction->outputs.clear();
    desde->clearValue();
    key(desde, Qt::Key_F5);
    type(hasta, QStringLiteral("31022013"));
    desde->setValue(DateTime::fromYmd(2013, 4, 1));
    key(desde, Qt::Key_F5);
    EXPECT_TRUE(interaction->outputs.isEmpty());
    EXPECT_EQ(interaction->messages,
              (QStringList{"ERROR: La Fecha No Puede ser Vacia", QString::fromUtf8("ERROR: La Fecha «31/02/2013» no existe")}));
}

TEST_F(WindowInUseTest, TheWindowsFrameGetsItsKeysToo)
{
    openCashSheet();
    auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    ASSERT_NE(frame, nullptr);
    control<QComboBox>(QStringLiteral("cbxFechaCaja"))->setCurrentText(QStringLiteral("Igual a..."));
    control<DateEdit>(QStringLiteral("edtFechaInicioCaja"))->setValue(DateTime::fromYmd(2013, 6, 15));
    frame->setFocus();
    key(frame, Qt::Key_F5);
    EXPECT_EQ(outputNames(), QStringList{"hoja (vista previa)"});
}

TEST_F(WindowInUseTest, WithoutAPrinterTheFollowingReportsShowOnScreenAfterOneMessage)
{
    interaction->printerAvailable = false;
    open();
    control<QCheckBox>(QStringLiteral("chxInformeGrupos"))->setChecked(true);
    control<QCheckBox>(QStringLiteral("chxInformeTarjetas"))->setChecked(true);
    printCashSheet();
    EXPECT_EQ(outputNames(), (QStringList{"hoja (vista previa)", "grupos (vista previa)", "tarjetas (vista previa)"}));
    EXPECT_EQ(interaction->messages,
              QStringList{"Hoja de Caja: No hay ninguna impresora instalada: los informes por grupos y por tarjetas se muestran en pantalla."});

    // With a printer they print straight after the cash sheet is laid out, as always.
    interaction->printerAvailable = true;
    interaction->outputs.clear();
    interaction->messages.clear();
    control<QCheckBox>(QStringLiteral("chxInformeGrupos"))->setChecked(true);
    control<QCheckBox>(QStringLiteral("chxInformeTarjetas"))->setChecked(true);
    control<QToolButton>(QStringLiteral("nbiImprimir"))->click();
    EXPECT_EQ(outputNames(), (QStringList{"grupos", "tarjetas", "hoja (vista previa)"}));
    EXPECT_TRUE(interaction->messages.isEmpty());
}

} // namespace

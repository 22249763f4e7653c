#include "window/frmHojaCaja.h"

#include "cashsheet/dmHojaCaja.h"
#include "vatjournal/dmDiarioIva.h"
#include "common/Guarded.h"
#include "common/Tienda.h"
#include "common/BDAcceso.h"
#include "common/frmError.h"
#include "hostapi/Auditoria.h"
#include "hostapi/Condiciones.h"
#include "hostapi/Configuracion.h"
#include "hostapi/CtrlTeclado.h"
#include "hostapi/HostParams.h"
#include "platform/db/Database.h"
#include "hostapi/Puesto.h"
#include "hostapi/Usuario.h"
#include "window/dmConfiguracion.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"
#include "platform/ui/Interaction.h"
#include "platform/ui/NavBar.h"
#include "platform/db/Snapshot.h"
#include "platform/report/ReportProgress.h"
#include "common/frmPorcentajeListado.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

namespace lumetra {

namespace {

const char* const kPantalla = "Listado - Pacientes";
const char* const kSinAlmacen = "[Debe Seleccionar al menos un Almacén]";

const char* const kOperadores[] = {"Igual a...", "Distinto de...", "Mayor que...", "Menor que...", "...Entre...", "Todos/as"};
const char* const kCalculosIva[] = {"Calcular con fecha de cobro", "Calcular con fecha de encargo", "Calcular con fecha de Caja"};
const char* const kTiposDiario[] = {"Resumido", "Detallado", "Resumido Por Días (cada día en una hoja)", "Resumido Por Días"};

template <class T> T* named(QWidget* parent, const QString& name)
{
    auto* widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

QLabel* label(QWidget* parent, const QString& name)
{
    return named<QLabel>(parent, name);
}

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

QIcon iconoBoton(int indice)
{
    const TdmConfiguracion* configuracion = TdmConfiguracion::Instancia();
    return configuracion ? configuracion->imlBotones.value(indice) : QIcon();
}

} // namespace

TfrmHojaCaja::TfrmHojaCaja(QWidget* propietario)
    : QWidget(propietario)
{
    setObjectName(QStringLiteral("frmHojaCaja"));
    setWindowTitle(QStringLiteral("Listado de Hoja de Caja"));
    setWindowFlag(Qt::Tool);
    setAttribute(Qt::WA_DeleteOnClose);
    setProperty("tag", Opcion);
    setFont(QFont(QStringLiteral("Tahoma"), 9));
    construirControles();
    resize(774, 427);
    // The window sees every key before its controls.
    qApp->installEventFilter(this);
}

TfrmHojaCaja::~TfrmHojaCaja()
{
    if (qApp)
        qApp->removeEventFilter(this);
    if (!cerrado_)
        FormClose();
}

QWidget* TfrmHojaCaja::crearPagina(const QString& nombre, const QString& tituloNombre)
{
    auto* page = named<QWidget>(pclListado, nombre);
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(0, 0, 8, 8);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(8);
    auto* titulo = label(page, tituloNombre);
    titulo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    titulo->setAutoFillBackground(true);
    titulo->setBackgroundRole(QPalette::Mid);
    QFont bold = titulo->font();
    bold.setBold(true);
    titulo->setFont(bold);
    titulo->setMinimumHeight(22);
    layout->addWidget(titulo, 0, 0, 1, 5);
    layout->setColumnStretch(4, 1);
    pclListado->addWidget(page);
    return page;
}

void TfrmHojaCaja::construirControles()
{
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    raiz->setSpacing(0);
    auto* cuerpo = new QHBoxLayout;
    cuerpo->setSpacing(8);
    raiz->addLayout(cuerpo, 1);

    nbrListado = named<NavBar>(this, QStringLiteral("nbrListado"));
    nbrListado->setFixedWidth(160);
    cuerpo->addWidget(nbrListado);
    pclListado = named<QStackedWidget>(this, QStringLiteral("pclListado"));
    cuerpo->addWidget(pclListado, 1);
    sbrAyuda = named<QStatusBar>(this, QStringLiteral("sbrAyuda"));
    sbrAyuda->setSizeGripEnabled(false);
    auto* panel = new QLabel(sbrAyuda);
    panel->setMinimumWidth(700);
    sbrAyuda->addWidget(panel);
    raiz->addWidget(sbrAyuda);

    grupoTareas_ = nbrListado->addGroup(QStringLiteral("nbgTareas"), QStringLiteral("Tareas"));
    nbrListado->addItem(grupoTareas_, QStringLiteral("nbiImprimir"), QString(), QIcon(), [this] { nbiImprimirClick(); });
    nbrListado->addItem(grupoTareas_, QStringLiteral("nbiSalir"), QString(), QIcon(), [this] { nbiSalirClick(); });
    grupoListados_ = nbrListado->addGroup(QStringLiteral("nbgListados"), QStringLiteral("Listados"));

    tstPaginaVacia = named<QWidget>(pclListado, QStringLiteral("tstPaginaVacia"));
    pclListado->addWidget(tstPaginaVacia);

    // One row of date conditions: operator, start date, " Y ", end date.
    const auto filaFechas = [](QWidget* page, const QString& sufijo, QComboBox*& operador, DateEdit*& inicio,
                               QLabel*& y, DateEdit*& fin) {
        auto* grid = static_cast<QGridLayout*>(page->layout());
        grid->addWidget(label(page, QStringLiteral("txtFecha") + sufijo), 1, 0);
        operador = named<QComboBox>(page, QStringLiteral("cbxFecha") + sufijo);
        inicio = named<DateEdit>(page, QStringLiteral("edtFechaInicio") + sufijo);
        y = label(page, QStringLiteral("txtY") + sufijo);
        fin = named<DateEdit>(page, QStringLiteral("edtFechaFin") + sufijo);
        grid->addWidget(operador, 1, 1);
        grid->addWidget(inicio, 1, 2);
        auto* fila = new QHBoxLayout;
        fila->addWidget(y);
        fila->addWidget(fin);
        fila->addStretch(1);
        grid->addLayout(fila, 1, 3, 1, 2);
    };
    const auto filaTiendas = [](QWidget* page, const QString& sufijo, int row, CheckComboBox*& tiendas, CheckComboBox*& almacen) {
        auto* grid = static_cast<QGridLayout*>(page->layout());
        grid->addWidget(label(page, QStringLiteral("txtTienda") + sufijo), row, 0);
        tiendas = named<CheckComboBox>(page, QStringLiteral("cbxTienda") + sufijo);
        tiendas->setMinimumWidth(260);
        grid->addWidget(tiendas, row, 1, 1, 3);
        QLabel* txtAlmacen = label(page, QStringLiteral("txtAlmacen") + sufijo);
        almacen = named<CheckComboBox>(page, QStringLiteral("cbxAlmacen") + sufijo);
        almacen->setEmptyText(utf8(kSinAlmacen));
        grid->addWidget(txtAlmacen, row + 1, 0);
        grid->addWidget(almacen, row + 1, 1, 1, 3);
        txtAlmacen->hide();
        almacen->hide();
    };

    // Hoja de Caja
    tstHoja = crearPagina(QStringLiteral("tstHoja"), QStringLiteral("txtTituloHoja"));
    filaFechas(tstHoja, QStringLiteral("Caja"), cbxFechaCaja, edtFechaInicioCaja, txtYCaja, edtFechaFinCaja);
    filaTiendas(tstHoja, QStringLiteral("Caja"), 2, cbxTiendaCaja, cbxAlmacenCaja);
    {
        auto* grid = static_cast<QGridLayout*>(tstHoja->layout());
        grid->addWidget(label(tstHoja, QStringLiteral("txtIVACaja")), 4, 0);
        cbxCajaIva = named<QComboBox>(tstHoja, QStringLiteral("cbxCajaIva"));
        grid->addWidget(cbxCajaIva, 4, 1, 1, 2);
        chxTotalesDia = named<QCheckBox>(tstHoja, QStringLiteral("chxTotalesDia"));
        chxTotalesMes = named<QCheckBox>(tstHoja, QStringLiteral("chxTotalesMes"));
        chxInformeGrupos = named<QCheckBox>(tstHoja, QStringLiteral("chxInformeGrupos"));
        chxInformeGrupos->setText(QStringLiteral("Imprimir Informe Por Grupos"));
        chxInformeTarjetas = named<QCheckBox>(tstHoja, QStringLiteral("chxInformeTarjetas"));
        chxInformeTarjetas->setText(QStringLiteral("Imprimir Informe Por Tarjetas"));
        chxDetalleCaja = named<QCheckBox>(tstHoja, QStringLiteral("chxDetalleCaja"));
        grid->addWidget(chxTotalesDia, 5, 1, 1, 3);
        grid->addWidget(chxTotalesMes, 6, 1, 1, 3);
        grid->addWidget(chxInformeGrupos, 7, 1, 1, 3);
        grid->addWidget(chxInformeTarjetas, 8, 1, 1, 3);
        grid->addWidget(chxDetalleCaja, 9, 1, 1, 3);
        chxDetalleCaja->hide();
        grid->setRowStretch(10, 1);
    }

    // Diario de I.V.A
    tstDiario = crearPagina(QStringLiteral("tstDiario"), QStringLiteral("txtTituloDiario"));
    filaFechas(tstDiario, QStringLiteral("Diario"), cbxFechaDiario, edtFechaInicioDiario, txtYDiario, edtFechaFinDiario);
    filaTiendas(tstDiario, QStringLiteral("Diario"), 2, cbxTiendaDiario, cbxAlmacenDiario);
    {
        auto* grid = static_cast<QGridLayout*>(tstDiario->layout());
        grid->addWidget(label(tstDiario, QStringLiteral("txtIVADiario")), 4, 0);
        cbxIvaDiario = named<QComboBox>(tstDiario, QStringLiteral("cbxIvaDiario"));
        grid->addWidget(cbxIvaDiario, 4, 1, 1, 2);
        grid->addWidget(label(tstDiario, QStringLiteral("txtListadoDiario")), 5, 0);
        cbxListadoDiario = named<QComboBox>(tstDiario, QStringLiteral("cbxListadoDiario"));
        grid->addWidget(cbxListadoDiario, 5, 1, 1, 2);
        chxFamiliaDiario = named<QCheckBox>(tstDiario, QStringLiteral("chxFamiliaDiario"));
        grid->addWidget(chxFamiliaDiario, 6, 1, 1, 3);
        grid->setRowStretch(7, 1);
    }

    // Informe Por Grupos
    tstGrupos = crearPagina(QStringLiteral("tstGrupos"), QStringLiteral("txtTituloGrupos"));
    filaFechas(tstGrupos, QStringLiteral("Grupos"), cbxFechaGrupos, edtFechaInicioGrupos, txtYGrupos, edtFechaFinGrupos);
    filaTiendas(tstGrupos, QStringLiteral("Grupos"), 2, cbxTiendaGrupos, cbxAlmacenGrupos);
    static_cast<QGridLayout*>(tstGrupos->layout())->setRowStretch(4, 1);

    // Informe Por Tarjetas
    tstTarjetas = crearPagina(QStringLiteral("tstTarjetas"), QStringLiteral("txtTituloTarjetas"));
    filaFechas(tstTarjetas, QStringLiteral("Tarjetas"), cbxFechaTarjetas, edtFechaInicioTarjetas, txtYTarjetas, edtFechaFinTarjetas);
    filaTiendas(tstTarjetas, QStringLiteral("Tarjetas"), 2, cbxTiendaTarjetas, cbxAlmacenTarjetas);
    static_cast<QGridLayout*>(tstTarjetas->layout())->setRowStretch(4, 1);

    for (const PaginaFechas& pagina : paginasFechas()) {
        connect(pagina.operador, &QComboBox::currentTextChanged, this, [this, pagina] {
            GuardedVoid(*this, utf8(pagina.funcion), [&] { aplicarOperador(pagina); });
        });
    }
    connect(chxTotalesDia, &QCheckBox::toggled, this, [this] { chxTotalesDiaPropertiesChange(); });
}

QList<TfrmHojaCaja::PaginaFechas> TfrmHojaCaja::paginasFechas() const
{
    return {{cbxFechaCaja, edtFechaInicioCaja, edtFechaFinCaja, txtYCaja, cbxTiendaCaja, ListadoHojaCaja, "cbxFecha -> OnChange"},
            {cbxFechaDiario, edtFechaInicioDiario, edtFechaFinDiario, txtYDiario, cbxTiendaDiario, ListadoDiario,
             "cbxFechaDiario -> OnChange"},
            {cbxFechaGrupos, edtFechaInicioGrupos, edtFechaFinGrupos, txtYGrupos, cbxTiendaGrupos, ListadoGrupos,
             "cbxFechaGrupos -> OnChange"},
            {cbxFechaTarjetas, edtFechaInicioTarjetas, edtFechaFinTarjetas, txtYTarjetas, cbxTiendaTarjetas, ListadoTarjetas,
             "cbxFechaTarjetas -> OnChange"}};
}

QList<CheckComboBox*> TfrmHojaCaja::listasTiendas() const
{
    return {cbxTiendaCaja, cbxTiendaDiario, cbxTiendaGrupos, cbxTiendaTarjetas};
}

void TfrmHojaCaja::MostrarError(const QString& funcion, const QString& descripcion)
{
    TfrmError::Mostrar(parametros_, utf8(kPantalla), funcion, descripcion);
}

void TfrmHojaCaja::Preparar()
{
    CrearObjetos();
    ConstruirArbol();
    Etiquetas();
    Recursos();
    ValoresIniciales();
}

int TfrmHojaCaja::CrearObjetos()
{
    return Guarded(*this, QStringLiteral("CrearObjetos"), [&] {
        QWidget* propietario = parametros_->Propietario;
        TdmConfiguracion::Adquirir(propietario, parametros_);
        objetosCreados_ = true;
        dmHojaCaja_ = new TdmHojaCaja(propietario);
        dmHojaCaja_->Inicializar(parametros_);
        dmDiarioIva_ = new TdmDiarioIva(propietario);
        dmDiarioIva_->Inicializar(parametros_);
        tienda_ = new TTienda(parametros_->BaseDatosMaestros, propietario, parametros_->BaseDatos);
        tiendasSeleccionadas_.clear();
        return 0;
    }, -1);
}

int TfrmHojaCaja::ConstruirArbol()
{
    return Guarded(*this, QStringLiteral("ConstruirArbol"), [&] {
        nbrListado->clearGroup(grupoListados_);
        enlaces_.clear();
        const QIcon icono = iconoBoton(2);
        const auto enlace = [&](const char* nombre, const QString& texto, int codigo) {
            QToolButton* boton = nbrListado->addItem(grupoListados_, QString::fromLatin1(nombre), texto, icono,
                                                     [this, codigo] { SeleccionarListado(codigo); });
            enlaces_.append({codigo, boton});
        };
        enlace("nbiHojaCaja", QStringLiteral("Hoja de Caja"), ListadoHojaCaja);
        enlace("nbiDiario", QStringLiteral("Diario de I.V.A"), ListadoDiario);
        if (parametros_->Configuracion->UsaGrupos != 0)
            enlace("nbiGrupos", QStringLiteral("Informe Por Grupos"), ListadoGrupos);
        enlace("nbiTarjetas", QStringLiteral("Informe Por Tarjetas"), ListadoTarjetas);
        return 0;
    }, -1);
}

int TfrmHojaCaja::Etiquetas()
{
    return Guarded(*this, QStringLiteral("Errores"), [&] {
        const auto texto = [this](const char* nombre, const QString& caption) {
            if (auto* l = findChild<QLabel*>(QString::fromLatin1(nombre)))
                l->setText(caption);
            else if (auto* c = findChild<QCheckBox*>(QString::fromLatin1(nombre)))
                c->setText(caption);
            else if (auto* b = findChild<QToolButton*>(QString::fromLatin1(nombre)))
                b->setText(caption);
        };
        texto("nbiImprimir", QStringLiteral("Imprimir"));
        texto("nbiSalir", QStringLiteral("Salir"));
        texto("txtTituloHoja", QStringLiteral(" Condiciones de la Hoja de Caja"));
        texto("txtTituloDiario", QStringLiteral(" Condiciones del Diario de I.V.A"));
        texto("txtTituloGrupos", QStringLiteral(" Condiciones del Informe Por Grupos"));
        texto("txtTituloTarjetas", QStringLiteral(" Condiciones del Informe Por Tarjetas"));
        for (const char* pagina : {"Caja", "Diario", "Grupos", "Tarjetas"}) {
            const QByteArray p(pagina);
            texto(QByteArray("txtFecha" + p).constData(), QStringLiteral("Fecha:"));
            texto(QByteArray("txtY" + p).constData(), QStringLiteral(" Y "));
            texto(QByteArray("txtTienda" + p).constData(), QStringLiteral("Tienda:"));
            texto(QByteArray("txtAlmacen" + p).constData(), QStringLiteral("Almacén:"));
        }
        texto("txtIVACaja", QStringLiteral("Cálculo I.V.A:"));
        texto("txtIVADiario", QStringLiteral("Cálculo I.V.A:"));
        texto("txtListadoDiario", QStringLiteral("Tipo Listado:"));
        texto("chxTotalesDia", QStringLiteral("Imprimir Totales del día"));
        texto("chxTotalesMes", QStringLiteral("Imprimir Totales Mensuales"));
        texto("chxDetalleCaja", QStringLiteral("Imprimir Detalle Encargos"));
        texto("chxFamiliaDiario", QStringLiteral("Sustitir la Descripción del Artículos por la de la Familia"));
        return 0;
    }, -1);
}

int TfrmHojaCaja::Recursos()
{
    return Guarded(*this, QStringLiteral("Recursos"), [&] {
        QList<QToolButton*> tareas = nbrListado->items(grupoTareas_);
        tareas[0]->setIcon(iconoBoton(1));
        tareas[1]->setIcon(iconoBoton(0));

        const auto llenar = [](QComboBox* lista, const auto& items, bool ordenada) {
            lista->clear();
            for (const char* item : items)
                lista->addItem(utf8(item));
            if (ordenada)
                lista->model()->sort(0);
            lista->setCurrentIndex(-1);
        };
        llenar(cbxFechaCaja, kOperadores, true);
        llenar(cbxCajaIva, kCalculosIva, false);
        llenar(cbxFechaDiario, kOperadores, true);
        llenar(cbxIvaDiario, kCalculosIva, false);
        llenar(cbxListadoDiario, kTiposDiario, false);
        llenar(cbxFechaGrupos, kOperadores, true);
        llenar(cbxFechaTarjetas, kOperadores, true);

        tienda_->CargarTiendas();
        if (parametros_->Usuario->SoloTiendaPropia != 0) {
            tienda_->SetId(parametros_->Puesto->IdTienda);
            tienda_->BuscarId();
            listaTiendas_ = TiendasListado::Propia(parametros_->Puesto->IdTienda, tienda_->Descripcion());
        } else {
            listaTiendas_ = TiendasListado::Todas(tienda_->Ids(), tienda_->Descripciones());
        }
        for (CheckComboBox* lista : listasTiendas()) {
            lista->clearItems();
            if (!listaTiendas_.soloPropia)
                lista->setEmptyText(listaTiendas_.textoVacio);
            for (const QString& texto : listaTiendas_.textos)
                lista->addCheckItem(texto);
        }
        return 0;
    }, -1);
}

int TfrmHojaCaja::ValoresIniciales()
{
    return Guarded(*this, QStringLiteral("ValoresIniciales"), [&] {
        const HostParams& p = *parametros_;
        SeleccionarListado(ListadoHojaCaja);
        for (const PaginaFechas& pagina : paginasFechas()) {
            pagina.operador->setCurrentText(QStringLiteral("Igual a..."));
            pagina.inicio->setValue(p.Puesto->FechaTrabajo.dateOnly());
            pagina.fin->setValue(p.Puesto->FechaTrabajo.dateOnly());
        }
        chxTotalesDia->setChecked(p.Usuario->PermiteTotalesDia != 0);
        chxTotalesMes->setChecked(p.Usuario->PermiteTotalesMes != 0);
        chxDetalleCaja->setChecked(p.Usuario->DetalleEncargos != 0);
        chxTotalesDia->setVisible(p.Usuario->PermiteTotalesDia != 0);
        chxTotalesMes->setVisible(p.Usuario->PermiteTotalesMes != 0);
        if (p.Configuracion->UsaGrupos != 0) {
            chxInformeGrupos->setChecked(p.Usuario->PermiteInformeGrupos != 0);
            chxInformeGrupos->setVisible(p.Usuario->PermiteInformeGrupos != 0);
        } else {
            chxInformeGrupos->setChecked(false);
            chxInformeGrupos->setEnabled(false);
            chxInformeGrupos->setVisible(false);
        }
        chxInformeTarjetas->setChecked(p.Usuario->PermiteInformeTarjetas != 0);
        chxInformeTarjetas->setVisible(p.Usuario->PermiteInformeTarjetas != 0);
        chxFamiliaDiario->setChecked(false);

        tienda_->SetId(p.Puesto->IdTienda);
        if (tienda_->BuscarId() == 0) {
            for (int i = 0; i < cbxTiendaCaja->count(); ++i) {
                const bool propia = cbxTiendaCaja->itemText(i) == tienda_->Descripcion();
                for (CheckComboBox* lista : listasTiendas())
                    lista->setChecked(i, propia);
            }
        }
        cbxCajaIva->setCurrentIndex(p.Configuracion->TipoCalculoIva);
        cbxIvaDiario->setCurrentIndex(p.Configuracion->TipoCalculoIva);
        cbxListadoDiario->setCurrentIndex(0);
        if (p.Usuario->FechasBloqueadas != 0) {
            for (const PaginaFechas& pagina : paginasFechas()) {
                pagina.operador->setEnabled(false);
                pagina.inicio->setEnabled(false);
                pagina.fin->setEnabled(false);
            }
        }
        return 0;
    }, -1);
}

void TfrmHojaCaja::aplicarOperador(const PaginaFechas& pagina)
{
    const int codigo = parametros_->Condiciones->CodigoOperador(pagina.operador->currentText());
    const bool entre = codigo == TCondiciones::Entre;
    pagina.inicio->setEnabled(codigo >= TCondiciones::Igual && codigo <= TCondiciones::Entre
                              && parametros_->Usuario->FechasBloqueadas == 0);
    pagina.fin->setVisible(entre);
    pagina.y->setVisible(entre);
}

void TfrmHojaCaja::chxTotalesDiaPropertiesChange()
{
    if (chxTotalesMes->isVisibleTo(this))
        chxTotalesMes->setChecked(chxTotalesDia->isChecked());
}

void TfrmHojaCaja::SeleccionarListado(int codigo)
{
    if (codigo != listadoActivo_) {
        listadoActivo_ = codigo;
        switch (codigo) {
        case ListadoHojaCaja: pclListado->setCurrentWidget(tstHoja); break;
        case ListadoDiario: pclListado->setCurrentWidget(tstDiario); break;
        case ListadoGrupos: pclListado->setCurrentWidget(tstGrupos); break;
        case ListadoTarjetas: pclListado->setCurrentWidget(tstTarjetas); break;
        default: pclListado->setCurrentWidget(tstPaginaVacia); break;
        }
    }
    for (const auto& [enlaceCodigo, boton] : enlaces_)
        boton->setEnabled(enlaceCodigo != listadoActivo_);
}

SolicitudListado TfrmHojaCaja::Solicitud(int listado) const
{
    SolicitudListado s;
    s.listado = listado;
    for (const PaginaFechas& pagina : paginasFechas()) {
        if (pagina.listado != listado)
            continue;
        s.operador = parametros_->Condiciones->CodigoOperador(pagina.operador->currentText());
        s.desde = pagina.inicio->value();
        s.hasta = pagina.fin->value();
        s.errorDesde = pagina.inicio->error();
        s.errorHasta = pagina.fin->error();
        QList<int> marcadas;
        for (int i = 0; i < pagina.tiendas->count(); ++i)
            if (pagina.tiendas->isChecked(i))
                marcadas << i;
        s.MarcarTiendas(listaTiendas_, marcadas);
    }
    if (listado == ListadoHojaCaja) {
        s.calculoIva = cbxCajaIva->currentIndex();
        s.totalesDia = chxTotalesDia->isChecked();
        s.totalesMes = chxTotalesMes->isChecked();
        s.detalleCaja = chxDetalleCaja->isChecked();
        s.informeGrupos = chxInformeGrupos->isChecked();
        s.informeTarjetas = chxInformeTarjetas->isChecked();
    } else if (listado == ListadoDiario) {
        s.calculoIva = cbxIvaDiario->currentIndex();
        s.tipoDiario = cbxListadoDiario->currentIndex();
        s.familia = chxFamiliaDiario->isChecked();
    }
    return s;
}

int TfrmHojaCaja::IntegridadDatos()
{
    return IntegridadDatos(Solicitud(listadoActivo_));
}

int TfrmHojaCaja::IntegridadDatos(const SolicitudListado& solicitud)
{
    resultado_ = Guarded(*this, QStringLiteral("IntegridadDatos"), [&] {
        int r = resultado_;
        switch (solicitud.listado) {
        case ListadoHojaCaja:
        case ListadoDiario:
            r = IntegridadFechas(solicitud);
            if (r == 0) r = IntegridadTiendas(solicitud);
            if (r == 0) r = IntegridadIva(solicitud);
            break;
        case ListadoGrupos:
        case ListadoTarjetas:
            r = IntegridadFechas(solicitud);
            if (r == 0) r = IntegridadTiendas(solicitud);
            break;
        default:
            break;
        }
        return r;
    }, -1);
    return resultado_;
}

int TfrmHojaCaja::invalida(const QString& mensaje)
{
    if (mensaje.isEmpty())
        return 0;
    Interaction::current().message(parametros_->Propietario, QStringLiteral("ERROR"), mensaje, Interaction::Icon::Error);
    return -2;
}

int TfrmHojaCaja::IntegridadFechas(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("IntegridadFechas"), [&] { return invalida(solicitud.ErrorFechas()); }, -1);
}

int TfrmHojaCaja::IntegridadTiendas(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("IntegridadTiendas"), [&] { return invalida(solicitud.ErrorTiendas()); }, -1);
}

int TfrmHojaCaja::IntegridadIva(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("IntegridadIva"), [&] { return invalida(solicitud.ErrorIva()); }, -1);
}

void TfrmHojaCaja::nbiImprimirClick()
{
    Imprimir(Solicitud(listadoActivo_));
}

int TfrmHojaCaja::Imprimir(const SolicitudListado& solicitud)
{
    // One listing at a time: F5 or "Imprimir" while one runs is refused.
    if (imprimiendo_) {
        sbrAyuda->showMessage(QStringLiteral("Espere a que termine el listado en curso o cancélelo"), 5000);
        return resultado_;
    }
    imprimiendo_ = true;
    cancelacionPedida_ = false;
    // While it runs the window takes no other command: its pages and links are disabled.
    const QPointer<QWidget> foco = isAncestorOf(QApplication::focusWidget()) ? QApplication::focusWidget() : nullptr;
    nbrListado->setEnabled(false);
    pclListado->setEnabled(false);
    int r = 0;
    {
        const ReportProgress::Scope progreso([this](int filas, int total, int paginas) { return progresoInforme(filas, total, paginas); });
        const TfrmError::Impresion errores;
        r = Guarded(*this, QStringLiteral("Imprimir"), [&] {
            // Each print reads the shop as it stands when the print starts, in one consistent
            // view that ends with it.
            std::optional<Snapshot> instantanea;
            if (parametros_->Transaccion)
                instantanea.emplace(*parametros_->Transaccion);
            else
                instantanea.emplace(*parametros_->BaseDatos);
            // Whichever way it ends, the print's queries end with its view.
            struct Cerrar {
                TfrmHojaCaja& ventana;
                ~Cerrar()
                {
                    if (ventana.dmHojaCaja_)
                        ventana.dmHojaCaja_->CerrarConsultas();
                    if (ventana.dmDiarioIva_)
                        ventana.dmDiarioIva_->CerrarConsultas();
                }
            } cerrar{*this};
            return imprimirListado(solicitud);
        }, -1);
        // Its first failure was shown and stopped it: what it had built is no listing.
        if (errores.Fallida())
            r = -1;
        // Whether that failure was the connection going away, which the person has now been told.
        if (r == -1 && parametros_ && parametros_->BaseDatos && !parametros_->BaseDatos->reachable())
            conexionPerdidaAvisada_ = true;
    }
    cerrarProgreso();
    nbrListado->setEnabled(true);
    pclListado->setEnabled(true);
    if (foco)
        foco->setFocus();
    imprimiendo_ = false;
    // A close asked for while it ran was a cancel: the window closes now that it has stopped.
    if (cierrePendiente_) {
        cierrePendiente_ = false;
        QTimer::singleShot(0, this, [this] { cerrar(); });
    }
    return r;
}

void TfrmHojaCaja::cancelarListado()
{
    cancelacionPedida_ = true;
    if (dmHojaCaja_)
        dmHojaCaja_->SolicitarCancelacion();
    if (dmDiarioIva_)
        dmDiarioIva_->SolicitarCancelacion();
    if (progreso_)
        progreso_->btnCancelarClick();
}

bool TfrmHojaCaja::progresoInforme(int filas, int total, int paginas)
{
    if (cancelacionPedida_)
        return false;
    // A few times a second: enough for "&Cancelar" to answer at once, cheap on every row.
    if (ultimoProgreso_.isValid() && ultimoProgreso_.elapsed() < 40)
        return true;
    ultimoProgreso_.start();
    if (!progreso_) {
        progreso_ = new TfrmPorcentajeListado(parametros_ ? parametros_->Propietario : nullptr);
        progreso_->PermitirCancelar(true);
        Interaction::current().showWindow(*progreso_);
    }
    const int porcentaje = total > 0 ? int(qint64(filas) * 100 / total) : 0;
    progreso_->SetTexto(QStringLiteral("Página %1 - %2 %").arg(std::max(paginas, 1)).arg(porcentaje));
    Interaction::current().processEvents();
    return !cancelacionPedida_ && !(progreso_ && progreso_->Cancelado());
}

void TfrmHojaCaja::cerrarProgreso()
{
    if (progreso_ && progreso_->Cancelado())
        cancelacionPedida_ = true;
    delete progreso_.data();
    progreso_ = nullptr;
    ultimoProgreso_.invalidate();
}

int TfrmHojaCaja::imprimirListado(const SolicitudListado& solicitud)
{
    switch (solicitud.listado) {
    case ListadoHojaCaja: return ImprimirHojaCaja(solicitud);
    case ListadoDiario: return ImprimirDiario(solicitud);
    case ListadoGrupos: return ImprimirGrupos(solicitud);
    case ListadoTarjetas: return ImprimirTarjetas(solicitud);
    default: return resultado_;
    }
}
int TfrmHojaCaja::sinListado(const QString& listado)
{
    Interaction::current().message(parametros_->Propietario, QStringLiteral("ERROR"),
                                   QStringLiteral("El listado «%1» no está disponible en esta versión").arg(listado),
                                   Interaction::Icon::Error);
    resultado_ = -1;
    return resultado_;
}

void TfrmHojaCaja::nbiSalirClick()
{
    cerrar();
}

void TfrmHojaCaja::cerrar()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

bool TfrmHojaCaja::FormKeyDown(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (!parametros_ || !parametros_->Teclado || !parametros_->Teclado->PermiteEnter(QApplication::focusWidget()))
            return false;
        focusNextChild();
        return true;
    }
    case Qt::Key_F5:
        nbiImprimirClick();
        return true;
    case Qt::Key_F12:
        cerrar();
        return true;
    default:
        return false;
    }
}

bool TfrmHojaCaja::eventFilter(QObject* watched, QEvent* event)
{
    // Keys of this window's controls reach the window first. An open drop-down list is a window
    // of its own and keeps its keys.
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        // The frame of the window (its title, once clicked) counts as the window.
        const bool marco = widget && widget == parentWidget() && qobject_cast<QMdiSubWindow*>(widget);
        if (widget && (widget == this || isAncestorOf(widget) || marco) && FormKeyDown(static_cast<QKeyEvent*>(event)->key()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmHojaCaja::closeEvent(QCloseEvent* event)
{
    // Closing while a listing runs stops it; the window closes once it has stopped, never with
    // its data modules still in use.
    if (imprimiendo_) {
        cierrePendiente_ = true;
        cancelarListado();
        event->ignore();
        return;
    }
    if (!cerrado_)
        FormClose();
    event->accept();
}

void TfrmHojaCaja::FormClose()
{
    cerrado_ = true;
    if (objetosCreados_) {
        TdmConfiguracion::Liberar();
        objetosCreados_ = false;
    }
    delete dmHojaCaja_;
    dmHojaCaja_ = nullptr;
    delete dmDiarioIva_;
    dmDiarioIva_ = nullptr;
    tiendasSeleccionadas_.clear();
    delete tienda_;
    tienda_ = nullptr;
    // The audit row is written even when nothing was printed; a failure is shown, never thrown.
    GuardedVoid(*this, QStringLiteral("FormClose"), [&] {
        if (parametros_ && parametros_->Auditoria) {
            // A print has already said the connection is lost: the row cannot be written, and a
            // second window would only say the same again.
            if (conexionPerdidaAvisada_ && parametros_->BaseDatosMaestros && !parametros_->BaseDatosMaestros->reachable())
                return;
            TBDAcceso registro(parametros_->BaseDatosMaestros, nullptr, parametros_->BaseDatos);
            const TAuditoria::Prestamo prestamo(*parametros_->Auditoria, registro);
            parametros_->Auditoria->RegistrarAcceso(int(parametros_->Usuario->IdUsuario), Opcion, parametros_->Puesto->IdTienda);
        }
    });
}

} // namespace lumetra

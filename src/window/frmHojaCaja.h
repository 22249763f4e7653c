// TfrmHojaCaja: the listing window "Listado de Hoja de Caja". A navigation bar with the tasks and
// one link per listing, and the condition page of the chosen listing. "Imprimir" reads the active
// page into a SolicitudListado and hands it to the print dispatch, which validates it, loads the
// listing's data module from the request's query texts and prints the report. A front end
// without a display fills the request itself and calls Imprimir.
//
// Every step and handler reports its own failures through MostrarError and carries on; invalid
// conditions are not failures: they show their message and give -2.
#pragma once

#include "window/SolicitudListado.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QStackedWidget;
class QStatusBar;
class QToolButton;

namespace lumetra {

struct HostParams;
class CheckComboBox;
class DateEdit;
class NavBar;
class TTienda;
class TdmHojaCaja;
class TdmDiarioIva;
class TfrmPorcentajeListado;
class ReportDocument;

class TfrmHojaCaja : public QWidget {
    Q_OBJECT

public:
    static constexpr int ListadoHojaCaja = SolicitudListado::ListadoHojaCaja;
    static constexpr int ListadoDiario = SolicitudListado::ListadoDiario;
    static constexpr int ListadoGrupos = SolicitudListado::ListadoGrupos;
    static constexpr int ListadoTarjetas = SolicitudListado::ListadoTarjetas;
    static constexpr int Opcion = 4001;   // the window's tag: its option in the access audit

    explicit TfrmHojaCaja(QWidget* propietario);
    ~TfrmHojaCaja() override;

    void SetParametros(HostParams* parametros) { parametros_ = parametros; }
    HostParams* Parametros() const { return parametros_; }

    // Initialisation steps, in this order; each 0, or -1 after reporting its failure.
    int CrearObjetos();
    int ConstruirArbol();
    int Etiquetas();   // the captions; its failures are reported as "Errores"
    int Recursos();
    int ValoresIniciales();
    // Runs the five steps above in their order; each reports its own failure and the next one
    // always runs.
    void Preparar();

    void SeleccionarListado(int codigo);
    int ListadoActivo() const { return listadoActivo_; }
    int Resultado() const { return resultado_; }
    // A listing is being gathered, laid out or shown: the window takes no other command.
    bool Imprimiendo() const { return imprimiendo_; }

    // The request of a listing's page as its controls stand (the options of the cash sheet
    // from page Hoja, of the journal from page Diario); a code without a page gives a request
    // with only its listing set.
    SolicitudListado Solicitud(int listado) const;
    // The stores the four store lists offer, as Recursos loaded them.
    const TiendasListado& ListaTiendas() const { return listaTiendas_; }

    // Validation of a request (of the active page without one): sets and returns the window's
    // result; 0 valid, -2 invalid after its message, -1 failed. A listing code without a page
    // leaves the result as it was.
    int IntegridadDatos();
    int IntegridadDatos(const SolicitudListado& solicitud);
    int IntegridadFechas(const SolicitudListado& solicitud);
    int IntegridadTiendas(const SolicitudListado& solicitud);
    int IntegridadIva(const SolicitudListado& solicitud);

    void nbiImprimirClick();
    void nbiSalirClick();
    void MostrarError(const QString& funcion, const QString& descripcion);

    TdmHojaCaja* DmHojaCaja() const { return dmHojaCaja_; }
    TdmDiarioIva* DmDiarioIva() const { return dmDiarioIva_; }
    TTienda* Tienda() const { return tienda_; }
    const QStringList& TiendasSeleccionadas() const { return tiendasSeleccionadas_; }

    // The request's conditions, kept in the buffers below and the list of selected stores.
    // Column kinds are SolicitudListado's. A condition builder that fails has reported it and
    // throws ErrorReportado, so its caller stops.
    QString CondicionFecha(qint16 columna, const SolicitudListado& solicitud);
    QString CondicionTienda(qint16 columna, const SolicitudListado& solicitud);
    // Builders: each puts the request's texts in the buffers and has the data module load them;
    // 0 loaded, -1 failed (reported), -5 nothing found (after its message). The card and group
    // builders show their own progress window and "nothing found" when the request is for their
    // own listing, not when they load along with the cash sheet.
    int GenerarSQLHojaCaja(const SolicitudListado& solicitud);
    int GenerarSQLHojaCajaCaja(const SolicitudListado& solicitud);
    int GenerarSQLHojaCajaVentasEncargos(const SolicitudListado& solicitud);
    int GenerarSQLHojaCajaEncargosDia(const SolicitudListado& solicitud);
    int GenerarSQLTarjetas(const SolicitudListado& solicitud);
    int GenerarSQLGrupos(const SolicitudListado& solicitud);
    int GenerarSQLDiarioEncargo(const SolicitudListado& solicitud);
    int GenerarSQLDiarioCobro(const SolicitudListado& solicitud);
    int GenerarSQLDiarioCaja(const SolicitudListado& solicitud);

    QString SQLPrincipal;
    QString SQLResumen;
    QString CondicionFechas;
    QString SQLDetalle;
    QString CondicionTiendas;
    QString SQLCobros;
    QString TextoFechas;
    QString TextoFechaPie;

    // Print dispatch: validates the request, loads its data and prints its listing; the
    // window's result. A listing code without a page does nothing.
    int Imprimir(const SolicitudListado& solicitud);
    int ImprimirHojaCaja(const SolicitudListado& solicitud);
    int ImprimirDiario(const SolicitudListado& solicitud);
    int ImprimirGrupos(const SolicitudListado& solicitud);
    int ImprimirTarjetas(const SolicitudListado& solicitud);
    // One journal report: 0, or -1 when it could not be prepared or laid out (reported).
    int ReportDiarioDetallado(const SolicitudListado& solicitud);
    int ReportDiarioResumido(const SolicitudListado& solicitud);
    int ReportDiarioResumidoLineas(const SolicitudListado& solicitud);

    // Controls, named as the window's code and tests know them.
    NavBar* nbrListado = nullptr;
    QStatusBar* sbrAyuda = nullptr;
    QStackedWidget* pclListado = nullptr;
    QWidget* tstPaginaVacia = nullptr;
    QWidget* tstHoja = nullptr;
    QWidget* tstDiario = nullptr;
    QWidget* tstGrupos = nullptr;
    QWidget* tstTarjetas = nullptr;

    QComboBox* cbxFechaCaja = nullptr;
    DateEdit* edtFechaInicioCaja = nullptr;
    DateEdit* edtFechaFinCaja = nullptr;
    QLabel* txtYCaja = nullptr;
    CheckComboBox* cbxTiendaCaja = nullptr;
    QComboBox* cbxCajaIva = nullptr;
    QCheckBox* chxTotalesDia = nullptr;
    QCheckBox* chxTotalesMes = nullptr;
    QCheckBox* chxInformeGrupos = nullptr;
    QCheckBox* chxInformeTarjetas = nullptr;
    QCheckBox* chxDetalleCaja = nullptr;
    CheckComboBox* cbxAlmacenCaja = nullptr;

    QComboBox* cbxFechaDiario = nullptr;
    DateEdit* edtFechaInicioDiario = nullptr;
    DateEdit* edtFechaFinDiario = nullptr;
    QLabel* txtYDiario = nullptr;
    CheckComboBox* cbxTiendaDiario = nullptr;
    QComboBox* cbxIvaDiario = nullptr;
    QComboBox* cbxListadoDiario = nullptr;
    QCheckBox* chxFamiliaDiario = nullptr;
    CheckComboBox* cbxAlmacenDiario = nullptr;

    QComboBox* cbxFechaGrupos = nullptr;
    DateEdit* edtFechaInicioGrupos = nullptr;
    DateEdit* edtFechaFinGrupos = nullptr;
    QLabel* txtYGrupos = nullptr;
    CheckComboBox* cbxTiendaGrupos = nullptr;
    CheckComboBox* cbxAlmacenGrupos = nullptr;

    QComboBox* cbxFechaTarjetas = nullptr;
    DateEdit* edtFechaInicioTarjetas = nullptr;
    DateEdit* edtFechaFinTarjetas = nullptr;
    QLabel* txtYTarjetas = nullptr;
    CheckComboBox* cbxTiendaTarjetas = nullptr;
    CheckComboBox* cbxAlmacenTarjetas = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct PaginaFechas {
        QComboBox* operador;
        DateEdit* inicio;
        DateEdit* fin;
        QLabel* y;
        CheckComboBox* tiendas;
        int listado;
        const char* funcion;
    };

    void construirControles();
    QWidget* crearPagina(const QString& nombre, const QString& tituloNombre);
    void aplicarOperador(const PaginaFechas& pagina);
    void chxTotalesDiaPropertiesChange();
    bool FormKeyDown(int key);
    void FormClose();
    void cerrar();
    QList<CheckComboBox*> listasTiendas() const;
    QList<PaginaFechas> paginasFechas() const;
    int sinListado(const QString& listado);
    // Shows a validation message: -2; 0 for the empty text.
    int invalida(const QString& mensaje);
    // Shows "No existen operaciones en las fechas seleccionadas"; -5.
    int SinOperaciones();
    int cargarHojaCaja(qint16 consulta, const QString& detalle, qint16 tabla, qint16 modo);
    int generarSQLDiario(const SolicitudListado& solicitud, int calculo);
    int previsualizar(const ReportDocument& documento, const QString& nombre);
    template <class Informe> int documentoInforme(const QString& filtro, ReportDocument& documento);
    template <class Informe> int imprimirInforme(const QString& filtro, const QString& nombre);
    int imprimirListado(const SolicitudListado& solicitud);
    // Asks the running listing to stop, whatever phase it is in.
    void cancelarListado();
    // Called for every row of every report laid out while printing: shows how far it got and
    // answers "&Cancelar". False to stop.
    bool progresoInforme(int filas, int total, int paginas);
    // Takes the progress window down before a preview or a message shows.
    void cerrarProgreso();

    HostParams* parametros_ = nullptr;
    TdmHojaCaja* dmHojaCaja_ = nullptr;
    TdmDiarioIva* dmDiarioIva_ = nullptr;
    TTienda* tienda_ = nullptr;
    QStringList tiendasSeleccionadas_;
    TiendasListado listaTiendas_;
    bool objetosCreados_ = false;
    bool cerrado_ = false;
    bool imprimiendo_ = false;
    bool cancelacionPedida_ = false;
    bool cierrePendiente_ = false;
    bool conexionPerdidaAvisada_ = false;
    QPointer<TfrmPorcentajeListado> progreso_;
    QElapsedTimer ultimoProgreso_;
    int listadoActivo_ = 0;
    int resultado_ = 0;
    int grupoTareas_ = -1;
    int grupoListados_ = -1;
    QList<QPair<int, QToolButton*>> enlaces_;
};

} // namespace lumetra

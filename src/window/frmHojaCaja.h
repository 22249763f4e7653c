// TfrmHojaCaja: the listing window "Listado de Hoja de Caja". A navigation bar with the tasks and
// one link per listing, and the condition page of the chosen listing. It validates the
// conditions, builds the listings' query texts and hands printing to the print dispatch.
//
// Every step and handler reports its own failures through MostrarError and carries on; invalid
// conditions are not failures: they show their message and give -2.
#pragma once

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
class ReportDocument;

class TfrmHojaCaja : public QWidget {
    Q_OBJECT

public:
    static constexpr int ListadoHojaCaja = 30;
    static constexpr int ListadoDiario = 31;
    static constexpr int ListadoGrupos = 32;
    static constexpr int ListadoTarjetas = 33;
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

    void SeleccionarListado(int codigo);
    int ListadoActivo() const { return listadoActivo_; }
    int Resultado() const { return resultado_; }

    int IntegridadDatos();
    int IntegridadFechas(QComboBox* operador, DateEdit* inicio, DateEdit* fin);
    int IntegridadTiendas(CheckComboBox* tiendas);
    int IntegridadIva(QComboBox* iva);

    void nbiImprimirClick();
    void nbiSalirClick();
    void MostrarError(const QString& funcion, const QString& descripcion);

    TdmHojaCaja* DmHojaCaja() const { return dmHojaCaja_; }
    TdmDiarioIva* DmDiarioIva() const { return dmDiarioIva_; }
    TTienda* Tienda() const { return tienda_; }
    const QStringList& TiendasSeleccionadas() const { return tiendasSeleccionadas_; }

    // Conditions and query texts. Column kinds of CondicionFecha: 0 CA.FECHA, 1 CO.FECHA,
    // 2 MV.FECHA, 6 MV.FECHA_PAGADO; of CondicionTienda: 0 CA, 1 CO, 2 MV. A condition builder
    // that fails has reported it and throws ErrorReportado, so its caller stops.
    QString CondicionFecha(qint16 columna, QComboBox* operador, DateEdit* inicio, DateEdit* fin);
    QString CondicionTienda(qint16 columna, CheckComboBox* tiendas);
    int GenerarSQLHojaCaja();
    int GenerarSQLHojaCajaCaja();
    int GenerarSQLHojaCajaVentasEncargos();
    int GenerarSQLHojaCajaEncargosDia();
    int GenerarSQLTarjetas(QComboBox* operador, DateEdit* inicio, DateEdit* fin, CheckComboBox* tiendas);
    int GenerarSQLGrupos(QComboBox* operador, DateEdit* inicio, DateEdit* fin, CheckComboBox* tiendas);
    int GenerarSQLDiarioEncargo();
    int GenerarSQLDiarioCobro();
    int GenerarSQLDiarioCaja();

    QString SQLPrincipal;
    QString SQLResumen;
    QString CondicionFechas;
    QString SQLDetalle;
    QString CondicionTiendas;
    QString SQLCobros;
    QString TextoFechas;
    QString TextoFechaPie;

    // Print dispatch: each validates its page and prints its listing; the window's result.
    int ImprimirHojaCaja();
    int ImprimirDiario();
    int ImprimirGrupos();
    int ImprimirTarjetas();
    void ReportDiarioDetallado(const QString& filtro);
    void ReportDiarioResumido(const QString& filtro);
    void ReportDiarioResumidoLineas(const QString& filtro);

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
    // Shows "No existen operaciones en las fechas seleccionadas"; -5.
    int SinOperaciones();
    int cargarHojaCaja(qint16 consulta, const QString& detalle, qint16 tabla, qint16 modo);
    int generarSQLDiario(bool cobro);
    void previsualizar(const ReportDocument& documento, const QString& nombre);
    template <class Informe> int imprimirInforme(const QString& filtro, const QString& nombre, bool vistaPrevia);

    HostParams* parametros_ = nullptr;
    TdmHojaCaja* dmHojaCaja_ = nullptr;
    TdmDiarioIva* dmDiarioIva_ = nullptr;
    TTienda* tienda_ = nullptr;
    QStringList tiendasSeleccionadas_;
    bool objetosCreados_ = false;
    bool cerrado_ = false;
    int listadoActivo_ = 0;
    int resultado_ = 0;
    int grupoTareas_ = -1;
    int grupoListados_ = -1;
    QList<QPair<int, QToolButton*>> enlaces_;
};

} // namespace lumetra

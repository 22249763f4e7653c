// The listing window's condition builders and the query texts of the cash sheet and of the
// card and group reports. The texts are the SQL the database runs, kept exactly as the
// listings have always sent them (spaces included).
#include "window/frmHojaCaja.h"

#include "cashsheet/dmHojaCaja.h"
#include "common/Guarded.h"
#include "common/Tienda.h"
#include "hostapi/Condiciones.h"
#include "hostapi/HostParams.h"
#include "hostapi/Puesto.h"
#include "hostapi/Usuario.h"
#include "platform/format/DateTexts.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"
#include "platform/ui/Interaction.h"

#include <QCheckBox>
#include <QComboBox>

namespace lumetra {

namespace {

const char* const kNoExisten = "No existen operaciones en las fechas seleccionadas";

struct PrefijosFecha {
    const char* igual;
    const char* mayor;
    const char* menor;
    const char* distinto;
    const char* entre;
};

// The comparison prefixes by column kind (note the doubled spaces of the CA column and the
// space after the quote of the MV.FECHA range: the texts are kept as they are).
const PrefijosFecha* prefijos(qint16 columna)
{
    static const PrefijosFecha caja{"CAST(CA.FECHA AS DATE) = '", "CAST(CA.FECHA AS DATE)  > '", "CAST(CA.FECHA AS DATE)  < '",
                                    "CAST(CA.FECHA AS DATE)  != '", "CAST(CA.FECHA AS DATE)  BETWEEN '"};
    static const PrefijosFecha cobro{"CAST(CO.FECHA AS DATE) = '", "CAST(CO.FECHA AS DATE) > '", "CAST(CO.FECHA AS DATE) < '",
                                     "CAST(CO.FECHA AS DATE) != '", "CAST(CO.FECHA AS DATE) BETWEEN '"};
    static const PrefijosFecha venta{"CAST(MV.FECHA AS DATE) = '", "CAST(MV.FECHA AS DATE) > '", "CAST(MV.FECHA AS DATE) < '",
                                     "CAST(MV.FECHA AS DATE) != '", "CAST(MV.FECHA AS DATE) BETWEEN ' "};
    static const PrefijosFecha pagado{"CAST(MV.FECHA_PAGADO AS DATE) = '", "CAST(MV.FECHA_PAGADO AS DATE) > '",
                                      "CAST(MV.FECHA_PAGADO AS DATE) < '", "CAST(MV.FECHA_PAGADO AS DATE) != '",
                                      "CAST(MV.FECHA_PAGADO AS DATE) BETWEEN '"};
    switch (columna) {
    case 0: return &caja;
    case 1: return &cobro;
    case 2: return &venta;
    case 6: return &pagado;
    default: return nullptr;
    }
}

QString columnaTienda(qint16 columna)
{
    switch (columna) {
    case 0: return QStringLiteral("CA.ID_TIENDA = ");
    case 1: return QStringLiteral("CO.ID_TIENDA = ");
    default: return QStringLiteral("MV.ID_TIENDA = ");
    }
}

// [X + c]: X and c only when c is not empty.
QString siHay(const QString& prefijo, const QString& condicion)
{
    return condicion.isEmpty() ? QString() : prefijo + condicion;
}

} // namespace

int TfrmHojaCaja::SinOperaciones()
{
    Interaction::current().message(parametros_->Propietario, QStringLiteral("ERROR"), QString::fromUtf8(kNoExisten),
                                   Interaction::Icon::Error);
    return -5;
}

QString TfrmHojaCaja::CondicionFecha(qint16 columna, QComboBox* operador, DateEdit* inicio, DateEdit* fin)
{
    bool fallo = true;
    const QString texto = Guarded(*this, QStringLiteral("CondicionFecha"), [&] {
        const int codigo = parametros_->Condiciones->CodigoOperador(operador->currentText());
        const PrefijosFecha* p = prefijos(columna);
        if (!p)
            throw std::invalid_argument("tipo de columna de fecha desconocido");
        const QString desde = SqlDateLiteral(inicio->value());
        const QString hasta = SqlDateLiteral(fin->value());
        QString condicion;
        switch (codigo) {
        case TCondiciones::Igual:
            condicion = QString::fromLatin1(p->igual) + desde + QStringLiteral("' ");
            TextoFechas = QStringLiteral(" Igual a ") + inicio->displayedText();
            TextoFechaPie = inicio->displayedText();
            break;
        case TCondiciones::Distinto:
            condicion = QString::fromLatin1(p->distinto) + desde + QStringLiteral("' ");
            TextoFechas = QStringLiteral(" Distinto a ") + inicio->displayedText();
            TextoFechaPie.clear();
            break;
        case TCondiciones::Mayor:
            condicion = QString::fromLatin1(p->mayor) + desde + QStringLiteral("' ");
            TextoFechas = QStringLiteral(" Mayor ") + inicio->displayedText();
            TextoFechaPie.clear();
            break;
        case TCondiciones::Menor:
            condicion = QString::fromLatin1(p->menor) + desde + QStringLiteral("' ");
            TextoFechas = QStringLiteral(" Menor que ") + inicio->displayedText();
            TextoFechaPie = inicio->displayedText();
            break;
        case TCondiciones::Entre:
            condicion = QString::fromLatin1(p->entre) + desde + QStringLiteral("'  AND '") + hasta + QStringLiteral("'");
            TextoFechas = QStringLiteral(" Entre ") + inicio->displayedText() + QStringLiteral(" y ") + fin->displayedText();
            TextoFechaPie = fin->displayedText();
            break;
        default:
            break;
        }
        CondicionFechas = condicion;
        fallo = false;
        return condicion;
    }, QString());
    if (fallo)
        throw ErrorReportado();
    return texto;
}

QString TfrmHojaCaja::CondicionTienda(qint16 columna, CheckComboBox* tiendas)
{
    bool fallo = true;
    const QString texto = Guarded(*this, QStringLiteral("CondicionTienda"), [&] {
        tiendasSeleccionadas_.clear();
        const bool soloPropia = parametros_->Usuario->SoloTiendaPropia != 0;
        QString condicion;
        if (!(tiendas->isChecked(0) && !soloPropia)) {
            condicion = QStringLiteral(" (");
            const auto anadir = [&](int id) {
                if (condicion != QLatin1String(" ("))
                    condicion += QStringLiteral(" Or ");
                condicion += columnaTienda(columna) + QString::number(id);
                tiendasSeleccionadas_ << QString::number(id);
            };
            if (soloPropia) {
                anadir(parametros_->Puesto->IdTienda);
            } else {
                // Item i of the list is the store at position i - 1 of the loaded store list, so
                // two stores with the same description never select each other.
                const QStringList& ids = tienda_->Ids();
                for (int i = 1; i < tiendas->count(); ++i)
                    if (tiendas->isChecked(i))
                        anadir(ids.value(i - 1).toInt());
            }
            condicion += QStringLiteral(") ");
        }
        CondicionTiendas = condicion;
        fallo = false;
        return condicion;
    }, QString());
    if (fallo)
        throw ErrorReportado();
    return texto;
}

int TfrmHojaCaja::GenerarSQLHojaCaja()
{
    resultado_ = Guarded(*this, QStringLiteral("GenerarSQLHojaCaja"), [&] {
        dmHojaCaja_->memHojaCaja.close();
        dmHojaCaja_->memHojaCaja.open();
        dmHojaCaja_->MostrarPorcentaje();
        int r = GenerarSQLHojaCajaCaja();
        if (r == 0)
            r = GenerarSQLHojaCajaVentasEncargos();
        if (r == 0)
            r = GenerarSQLHojaCajaEncargosDia();
        dmHojaCaja_->CerrarConsultas();
        resultado_ = r;
        // The card and group data load only with the cash sheet's: they never turn a failed or
        // cancelled cash sheet into a success.
        if (r == 0 && chxInformeTarjetas->isChecked())
            GenerarSQLTarjetas(cbxFechaCaja, edtFechaInicioCaja, edtFechaFinCaja, cbxTiendaCaja);
        if (resultado_ == 0 && chxInformeGrupos->isChecked())
            GenerarSQLGrupos(cbxFechaCaja, edtFechaInicioCaja, edtFechaFinCaja, cbxTiendaCaja);
        dmHojaCaja_->LiberarPorcentaje();
        if (resultado_ == 0 && dmHojaCaja_->memHojaCaja.isEmpty()) {
            resultado_ = SinOperaciones();
        }
        return resultado_;
    }, -1);
    if (resultado_ == -1 && dmHojaCaja_)
        dmHojaCaja_->LiberarPorcentaje();
    return resultado_;
}

// One fill step of the cash sheet: open the step's query and append its rows; a query that
// does not open closes everything and fails the step.
int TfrmHojaCaja::cargarHojaCaja(qint16 consulta, const QString& detalle, qint16 tabla, qint16 modo)
{
    if (dmHojaCaja_->AbrirQuery(consulta, SQLPrincipal, detalle) != 0) {
        dmHojaCaja_->CerrarConsultas();
        return -1;
    }
    return dmHojaCaja_->TablaHojaCaja(tabla, modo);
}

int TfrmHojaCaja::GenerarSQLHojaCajaCaja()
{
    return Guarded(*this, QStringLiteral("GenerarSQLHojaCajaCaja"), [&] {
        const QString fecha = CondicionFecha(0, cbxFechaCaja, edtFechaInicioCaja, edtFechaFinCaja);
        const QString tiendas = CondicionTienda(0, cbxTiendaCaja);
        QString where = siHay(QStringLiteral(" where "), fecha);
        if (!tiendas.isEmpty())
            where += (where.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" And ")) + tiendas;
        SQLPrincipal = QStringLiteral("Select CA.ID_CAJA, CAST(CA.FECHA AS DATE) FECHA, CA.TIPO, CA.DESCRIPCION, CA.IMPORTE_M1, FP.CODIGO, "
                                      "FP.TIPO FP_TIPO, FP.TIPO_PAGO from CAJA CA ")
            + QStringLiteral("LEFT JOIN FORMA_PAGO FP On FP.ID_FORMA_PAGO = CA.ID_FORMA_PAGO ") + where + QStringLiteral(" Order By CA.FECHA ");
        return cargarHojaCaja(TdmHojaCaja::ConsultaCaja, QString(), TdmHojaCaja::TablaCaja, -1);
    }, -1);
}

int TfrmHojaCaja::GenerarSQLHojaCajaVentasEncargos()
{
    return Guarded(*this, QStringLiteral("GenerarSQLHojaCajaVentasEncargos"), [&] {
        const QString fecha = CondicionFecha(1, cbxFechaCaja, edtFechaInicioCaja, edtFechaFinCaja);
        const QString tiendas = CondicionTienda(1, cbxTiendaCaja);
        QString where = siHay(QStringLiteral(" where "), fecha);
        if (!tiendas.isEmpty())
            where += (where.isEmpty() ? QStringLiteral(" Where ") : QStringLiteral(" And ")) + tiendas;
        SQLPrincipal = QStringLiteral("Select CO.ID_MVENTa, CAST(CO.FECHA AS DATE) FECHA_COBRO, CO.IMPORTE_M1, FP.DESCRIPCION DESC_FPAGO, ")
            + QStringLiteral("FP.CODIGO COD_FPAGO, FP.TIPO_PAGO TIPO_PAGO, ")
            + QStringLiteral("AG.CODIGO COD_AGENTE, CAST(MV.FECHA AS DATE) FECHA_VENTA, MV.TIPO_OPERACION, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, ")
            + QStringLiteral("MV.N_TALON, MV.ID_PACIENTE, MV.LIQUIDO_M1 LIQUIDO_MVENTA, MV.PORCENTAJE_DESCUENTO, MV.FS_ENCARGO, MV.FS_COBRO, MV.FS_SERIE ")
            + QStringLiteral("From COBRO CO LEFT JOIN FORMA_PAGO FP On FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO ")
            + QStringLiteral("LEFT JOIN AGENTE AG On AG.ID_AGENTE = CO.ID_AGENTE ")
            + QStringLiteral("INNER JOIN MVENTA MV On MV.ID_MVENTA = CO.ID_MVENTA ") + where + QStringLiteral(" Order BY CO.ID_MVENTA ");
        SQLDetalle = QStringLiteral("SELECT DV.ID_MVENTA, DV.REFERENCIA, DV.DESCRIPCION, DV.PORCENTAJE_DESCUENTO, DV.LIQUIDO_M1, DV.BI_BASE_M1, DV.BI_IVA_M1, DV.IVA, ")
            + QStringLiteral("GR.CODIGO GR_CODIGO, AG.CODIGO AG_CODIGO1, AG1.CODIGO AG_CODIGO2, AG2.CODIGO AG_CODIGO3 ")
            + QStringLiteral("from DVENTA DV LEFT JOIN GRUPO GR On GR.ID_GRUPO = DV.ID_GRUPO ")
            + QStringLiteral("LEFT JOIN AGENTE AG On AG.ID_AGENTE = DV.ID_AGENTE_1 ")
            + QStringLiteral("LEFT JOIN AGENTE AG1 On AG1.ID_AGENTE = DV.ID_AGENTE_2 ")
            + QStringLiteral("LEFT JOIN AGENTE AG2 On AG2.ID_AGENTE = DV.ID_AGENTE_3 ")
            + QStringLiteral("where DV.ID_MVENTA = :ID_MVENTA");
        return cargarHojaCaja(TdmHojaCaja::ConsultaMaestro, SQLDetalle, TdmHojaCaja::TablaCobros, qint16(cbxCajaIva->currentIndex()));
    }, -1);
}

int TfrmHojaCaja::GenerarSQLHojaCajaEncargosDia()
{
    return Guarded(*this, QStringLiteral("GenerarSQLHojaCajaEncargosDia"), [&] {
        const QString fecha = CondicionFecha(2, cbxFechaCaja, edtFechaInicioCaja, edtFechaFinCaja);
        const QString tiendas = CondicionTienda(2, cbxTiendaCaja);
        SQLPrincipal = QStringLiteral("Select MV.ID_MVENTA, MV.TIPO_OPERACION, MV.N_TALON, MV.LIQUIDO_M1, CAST(MV.FECHA AS DATE) FECHA from MVENTA MV ")
            + QStringLiteral("Where MV.TIPO_OPERACION != 0 ") + siHay(QStringLiteral(" And "), fecha) + siHay(QStringLiteral(" And "), tiendas)
            + QStringLiteral(" Order By MV.FECHA");
        SQLDetalle = QStringLiteral("Select DV.REFERENCIA from DVENTA DV WHERE ID_MVENTA = :ID_MVENTA ");
        return cargarHojaCaja(TdmHojaCaja::ConsultaMaestro, SQLDetalle, TdmHojaCaja::TablaEncargosDia, -1);
    }, -1);
}

int TfrmHojaCaja::GenerarSQLTarjetas(QComboBox* operador, DateEdit* inicio, DateEdit* fin, CheckComboBox* tiendas)
{
    const bool solo = !chxInformeTarjetas->isChecked();
    resultado_ = Guarded(*this, QStringLiteral("GenerarSQLTarjetas"), [&] {
        if (solo)
            dmHojaCaja_->MostrarPorcentaje();
        const QString fecha = CondicionFecha(1, operador, inicio, fin);
        const QString condicionTiendas = CondicionTienda(1, tiendas);
        QString where = siHay(QStringLiteral(" Where "), fecha);
        if (!condicionTiendas.isEmpty())
            where = where.isEmpty() ? QStringLiteral(" WHERE ") + condicionTiendas
                                    : where + QStringLiteral(" AND (") + condicionTiendas + QStringLiteral(")");
        SQLPrincipal = QStringLiteral("Select DISTINCT(CO.ID_COBRO) ID, MV.N_TALON, MV.TIPO_OPERACION, CO.IMPORTE_M1, CO.ID_FORMA_PAGO, ")
            + QStringLiteral("CAST(CO.FECHA AS DATE) FECHA, FP.TIPO_PAGO, FP.DESCRIPCION ")
            + QStringLiteral("from COBRO CO INNER JOIN MVENTA MV On (MV.ID_MVENTA = CO.ID_MVENTA AND MV.TIPO_OPERACION != 3) ")
            + QStringLiteral(" INNER JOIN FORMA_PAGO FP On (FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO And FP.TIPO_PAGO = 2)") + where
            + QStringLiteral(" Order By CAST(CO.FECHA AS DATE), CO.ID_FORMA_PAGO, CO.FECHA");
        int r = dmHojaCaja_->AbrirQuery(TdmHojaCaja::ConsultaTarjetas, SQLPrincipal, QString());
        if (r != 0) {
            dmHojaCaja_->CerrarConsultas();
            if (solo)
                dmHojaCaja_->LiberarPorcentaje();
            return -1;
        }
        if (solo) {
            dmHojaCaja_->LiberarPorcentaje();
            if (dmHojaCaja_->dstTarjetas.fieldAsFloat(QStringLiteral("ID")) == 0) {
                r = SinOperaciones();
            }
        }
        return r;
    }, -1);
    if (resultado_ == -1 && solo && dmHojaCaja_)
        dmHojaCaja_->LiberarPorcentaje();
    return resultado_;
}

int TfrmHojaCaja::GenerarSQLGrupos(QComboBox* operador, DateEdit* inicio, DateEdit* fin, CheckComboBox* tiendas)
{
    const bool solo = !chxInformeGrupos->isChecked();
    resultado_ = Guarded(*this, QStringLiteral("GenerarSQLGrupos"), [&] {
        if (solo)
            dmHojaCaja_->MostrarPorcentaje();
        const QString fecha = CondicionFecha(2, operador, inicio, fin);
        const QString condicionTiendas = CondicionTienda(2, tiendas);
        SQLPrincipal = QStringLiteral("Select MV.ID_MVENTA, MV.N_TALON, CAST(MV.FECHA AS DATE) FECHA, MV.TIPO_OPERACION, MV.ID_PACIENTE, DV.REFERENCIA, DV.DESCRIPCION, ")
            + QStringLiteral("(DV.BI_BASE_M1 + DV.BI_IVA_M1) IMPORTE, DV.PRECIO_UNITARIO_M1, DV.UNIDADES, GR.CODIGO ")
            + QStringLiteral("from MVENTA MV INNER JOIN DVENTA DV On (DV.ID_MVENTA = MV.ID_MVENTA ") + QStringLiteral(")")
            + QStringLiteral(" INNER JOIN GRUPO GR On GR.ID_GRUPO = DV.ID_GRUPO Where MV.TIPO_OPERACION != 3 ")
            + siHay(QStringLiteral(" And "), fecha) + siHay(QStringLiteral(" And "), condicionTiendas)
            + QStringLiteral(" Order By MV.FECHA, N_TALON, 11");
        if (dmHojaCaja_->AbrirQuery(TdmHojaCaja::ConsultaMVenta, SQLPrincipal, QString()) != 0) {
            dmHojaCaja_->CerrarConsultas();
            if (solo)
                dmHojaCaja_->LiberarPorcentaje();
            return -1;
        }
        int r = dmHojaCaja_->TablaGrupos();
        if (solo) {
            dmHojaCaja_->LiberarPorcentaje();
            if (dmHojaCaja_->memGrupos.isEmpty()) {
                r = SinOperaciones();
            }
        }
        return r;
    }, -1);
    if (resultado_ == -1 && solo && dmHojaCaja_)
        dmHojaCaja_->LiberarPorcentaje();
    return resultado_;
}

} // namespace lumetra

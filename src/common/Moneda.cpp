#include "common/Moneda.h"

#include "platform/db/Dataset.h"
#include "platform/format/FormatFloat.h"

namespace lumetra {

namespace {

QString ceros(int decimales)
{
    return decimales > 0 ? QStringLiteral(".") + QString(decimales, QLatin1Char('0')) : QString();
}

// The symbol goes quoted: "S/." or "kr." would otherwise read as a decimal position.
QString formatoImporte(int decimales, const QString& simbolo)
{
    if (simbolo.isEmpty())
        return QStringLiteral(",0") + ceros(decimales) + QLatin1Char(' ');
    const QChar comilla = simbolo.contains(QLatin1Char('\'')) ? QLatin1Char('"') : QLatin1Char('\'');
    return QStringLiteral(",0") + ceros(decimales) + QLatin1Char(' ') + comilla + simbolo + comilla;
}

QString formatoDecimales(int decimales)
{
    return QStringLiteral("0") + ceros(decimales);
}

} // namespace

TMoneda::TMoneda(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos)
    : TBase(baseDatosMaestros, propietario, baseDatos)
{
    CargarDatos();
}

void TMoneda::CargarDatos()
{
    SetSQL(SlotMoneda, CatalogoSQL(EntradaSQL::Monedas));
    Open(SlotMoneda);
    // Without a currency row every field reads as empty or zero.
    const Dataset& moneda = Consulta(SlotMoneda);
    descripcionM1_ = moneda.fieldAsText(QStringLiteral("DESCRIPCION_M1"));
    descripcionM2_ = moneda.fieldAsText(QStringLiteral("DESCRIPCION_M2"));
    simboloM1_ = moneda.fieldAsText(QStringLiteral("SIMBOLO_M1"));
    simboloM2_ = moneda.fieldAsText(QStringLiteral("SIMBOLO_M2"));
    decimalesM1_ = moneda.fieldAsInteger(QStringLiteral("DECIMALES_M1"));
    decimalesM2_ = moneda.fieldAsInteger(QStringLiteral("DECIMALES_M2"));
    usarSegundaMoneda_ = moneda.fieldAsInteger(QStringLiteral("USAR_SEGUNDA_MONEDA"));
    conversion_ = moneda.fieldAsFloat(QStringLiteral("CONVERSION"));
    Close(SlotMoneda);

    formatoM1_ = formatoImporte(decimalesM1_, simboloM1_);
    formatoM2_ = formatoImporte(decimalesM2_, simboloM2_);
    formatoDecimalesM1_ = formatoDecimales(decimalesM1_);
    formatoDecimalesM2_ = formatoDecimales(decimalesM2_);
}

void TMoneda::Asignar(double importeM1, double importeM2)
{
    // Computed before anything is stored, so a failure leaves the previous amounts intact.
    const double redondeadoM1 = StrToFloat(FormatFloat(formatoDecimalesM1_, importeM1));
    const double redondeadoM2 = StrToFloat(FormatFloat(formatoDecimalesM2_, importeM2));
    importeM1_ = importeM1;
    importeM2_ = importeM2;
    redondeadoM1_ = redondeadoM1;
    redondeadoM2_ = redondeadoM2;
}

void TMoneda::SetImporteM1(double importe)
{
    if (importe != importeM1_)
        Asignar(importe, importe * conversion_);
}

void TMoneda::SetImporteM2(double importe)
{
    if (importe != importeM2_)
        Asignar(importe / conversion_, importe);
}

QString TMoneda::TextoM1() const
{
    return FormatFloat(formatoM1_, importeM1_);
}

QString TMoneda::TextoM2() const
{
    return FormatFloat(formatoM2_, importeM2_);
}

} // namespace lumetra

#include "common/CalculoIva.h"

#include "platform/format/DateTime.h"
#include "platform/format/FormatFloat.h"
#include "platform/memtable/MemTable.h"

namespace lumetra {

namespace {

enum CampoTabla { fBaseImponible, fIva, fPorcentajeIva };

} // namespace

TCalculoIva::TCalculoIva(double porcentajeDefecto)
    : TCalculoIva(porcentajeDefecto, false)
{
}

TCalculoIva::TCalculoIva(double porcentaje, bool fijo)
    : porcentaje_(porcentaje)
    , fijo_(fijo)
{
}

TCalculoIva TCalculoIva::Fijo(double porcentaje)
{
    return TCalculoIva(porcentaje, true);
}

double TCalculoIva::PorcentajeFecha(const DateTime& fecha) const
{
    const double d = porcentaje_;
    if (fijo_)
        return d;
    const double dia = fecha.serial();
    if (dia < CambioIva2010) {
        if (d == 8 || d == 10)
            return 7;
        if (d == 18 || d == 21)
            return 16;
        return d;
    }
    if (dia < CambioIva2012) {
        if (d == 10)
            return 8;
        if (d == 21)
            return 18;
    }
    return d;
}

TDesgloseIva TCalculoIva::DesglosarFecha(double importe, const DateTime& fecha) const
{
    return Desglosar(importe, PorcentajeFecha(fecha));
}

TDesgloseIva TCalculoIva::Desglosar(double importe, double porcentaje)
{
    TDesgloseIva d;
    d.Porcentaje = porcentaje;
    d.Base = Redondear(importe * 100 / (100 + porcentaje));
    d.Iva = Redondear(d.Base * porcentaje * 0.01);
    if (d.Base + d.Iva != importe)
        d.Iva = Redondear(importe - d.Base);
    return d;
}

double TCalculoIva::Redondear(double importe)
{
    return StrToFloat(FormatFloat(QStringLiteral("0.00"), importe));
}

void TCalculoIva::DefinirTabla(MemTable& tabla)
{
    using T = MemTable::FieldType;
    tabla.addField(QStringLiteral("BaseImponible"), T::Float);
    tabla.addField(QStringLiteral("Iva"), T::Float);
    tabla.addField(QStringLiteral("PorcentajeIva"), T::Float);
    tabla.setSortField(QStringLiteral("PorcentajeIva"));
    tabla.open();
}

void TCalculoIva::Acumular(MemTable& tabla, const TDesgloseIva& importe)
{
    if (!tabla.locate(QStringLiteral("PorcentajeIva"), importe.Porcentaje)) {
        Anadir(tabla, importe);
        return;
    }
    tabla.edit();
    tabla.setField(fBaseImponible, tabla.fieldAsFloat(fBaseImponible) + importe.Base);
    tabla.setField(fIva, tabla.fieldAsFloat(fIva) + importe.Iva);
    tabla.post();
}

void TCalculoIva::Anadir(MemTable& tabla, const TDesgloseIva& importe)
{
    tabla.append();
    tabla.setField(fBaseImponible, importe.Base);
    tabla.setField(fIva, importe.Iva);
    tabla.setField(fPorcentajeIva, importe.Porcentaje);
    tabla.post();
}

TDesgloseIva TCalculoIva::Fila(const MemTable& tabla)
{
    return {tabla.fieldAsFloat(fBaseImponible), tabla.fieldAsFloat(fPorcentajeIva), tabla.fieldAsFloat(fIva)};
}

} // namespace lumetra

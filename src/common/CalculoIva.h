// TCalculoIva: the VAT rules every listing follows, apart from any window or database.
// - The rate in force on a date for the shop's default rate, across the rate changes of
//   1 July 2010 and 1 September 2012.
// - The split of an amount that includes VAT into taxable base and VAT, each in cents; the
//   rounding difference goes to the VAT, so that base + VAT is the amount.
// - The per-rate totals of a VAT table: a MemTable with the fields BaseImponible, Iva and
//   PorcentajeIva, kept sorted by PorcentajeIva, one row per rate.
//
// TDesgloseIva is one split (or one rate's total): base, percentage and VAT by name, so that
// the three amounts cannot change places on the way.
#pragma once

namespace lumetra {

class DateTime;
class MemTable;

struct TDesgloseIva {
    double Base = 0;
    double Porcentaje = 0;
    double Iva = 0;

    double Importe() const { return Base + Iva; }
    bool operator==(const TDesgloseIva&) const = default;
};

class TCalculoIva {
public:
    static constexpr double CambioIva2010 = 40360;   // day serial of 1 July 2010
    static constexpr double CambioIva2012 = 41153;   // day serial of 1 September 2012
    // The rate used on every date when the shop's default rate cannot be read.
    static constexpr double PorcentajeSinConfiguracion = 8;

    // Rates by date for the shop's default rate.
    explicit TCalculoIva(double porcentajeDefecto);
    // The same rate on every date.
    static TCalculoIva Fijo(double porcentaje);

    // Before 1 July 2010 a default of 8 or 10 was 7, and 18 or 21 was 16; until 1 September 2012
    // a default of 10 was 8 and 21 was 18. Any other default is the rate on every date. The
    // comparisons are exact.
    double PorcentajeFecha(const DateTime& fecha) const;
    // Splits the amount at the rate in force on the date.
    TDesgloseIva DesglosarFecha(double importe, const DateTime& fecha) const;

    // base = amount x 100 / (100 + p) and VAT = base x p / 100, both in cents; when they do not
    // add up to the amount the VAT is the amount less the base. Negative amounts split the same
    // way, with negative base and VAT.
    static TDesgloseIva Desglosar(double importe, double porcentaje);
    // Half away from zero, on the amount's 15-significant-digit decimal form (2.675 -> 2.68).
    static double Redondear(double importe);

    // The table operations below read and write the fields by position: every table they are
    // given must have been defined by DefinirTabla.
    // Gives the table its three fields and its order, and opens it empty.
    static void DefinirTabla(MemTable& tabla);
    // Adds base and VAT to the row of the percentage (exact match), appending a row when there
    // is none; posts it.
    static void Acumular(MemTable& tabla, const TDesgloseIva& importe);
    // Appends a row for the percentage and posts it.
    static void Anadir(MemTable& tabla, const TDesgloseIva& importe);
    // The current row of the table.
    static TDesgloseIva Fila(const MemTable& tabla);

private:
    TCalculoIva(double porcentaje, bool fijo);

    double porcentaje_;
    bool fijo_;
};

} // namespace lumetra

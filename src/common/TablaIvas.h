// TTablaIvas: the table of VAT totals a listing draws on a band with labels created at run
// time: rows of base | percentage (bold) | VAT, one every `alto` from `arriba`.
// - Crear makes the rows the shop's VAT types need; a day or period with more rates than that
//   (rates of other periods) gets more rows as it is filled: no rate is ever left out.
// - Filled from the per-rate totals of a memIvas table (or one total at a time), leaving out
//   rates whose base is 0 in cents, and blanked again once its band has printed.
#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

namespace lumetra {

class MemTable;
class ReportBand;
class ReportLabel;
class TLstUtil;
struct TDesgloseIva;

class TTablaIvas {
public:
    struct Columna {
        qreal izquierda;
        qreal ancho;
    };
    // Label names (the row number follows) and font size.
    struct Forma {
        QString base = QStringLiteral("qxtEtiquetaBase");
        QString porcentaje = QStringLiteral("qxtEtiquetaPorcentaje");
        QString iva = QStringLiteral("qxtEtiquetaIva");
        qreal puntos = 8;
    };

    // Replaces the rows on the band with `filas` empty rows (named and sized as Forma{} says
    // unless given).
    void Crear(ReportBand& banda, int filas, qreal arriba, qreal alto, Columna base, Columna porcentaje, Columna iva);
    void Crear(ReportBand& banda, int filas, qreal arriba, qreal alto, Columna base, Columna porcentaje, Columna iva,
               const Forma& forma);
    // Removes the rows from their band.
    void Eliminar();
    // Fills the next row with the total unless its base is 0 in cents; true when it did.
    bool Anadir(const TDesgloseIva& total, TLstUtil& util);
    // Vaciar, then a row per rate of the table with a base other than 0, in the table's order;
    // the rows filled.
    int Rellenar(MemTable& ivas, TLstUtil& util);
    void Vaciar();
    int Filas() const { return int(base_.size()); }
    int FilasUsadas() const { return usadas_; }
    // Where the rows end: below the last row made.
    qreal Fondo() const { return arriba_ + alto_ * Filas(); }

private:
    void anadirFila();

    ReportBand* banda_ = nullptr;
    qreal arriba_ = 0;
    qreal alto_ = 0;
    Columna columnaBase_{0, 0}, columnaPorcentaje_{0, 0}, columnaIva_{0, 0};
    Forma forma_;
    int usadas_ = 0;
    std::vector<ReportLabel*> base_, porcentaje_, iva_;
};

} // namespace lumetra

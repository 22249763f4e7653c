// TTablaIvas: the table of VAT totals that a journal report draws with labels created at run
// time: one row per VAT type defined (at most 30), each row base | percentage (bold) | VAT.
// Filled from the per-rate totals of a memIvas table, leaving out rates whose base is 0, and
// blanked again once its band has printed.
#pragma once

#include <QtGlobal>
#include <array>

namespace lumetra {

class MemTable;
class ReportBand;
class ReportLabel;
class TLstUtil;

class TTablaIvas {
public:
    static constexpr int MaxFilas = 30;

    struct Columna {
        qreal izquierda;
        qreal ancho;
    };

    // Replaces the rows on the band: `filas` rows from `arriba`, one every `alto`.
    void Crear(ReportBand& banda, int filas, qreal arriba, qreal alto, Columna base, Columna porcentaje, Columna iva);
    // Removes the rows from their band.
    void Eliminar();
    // Fills a row per rate with a base other than 0, in the table's order; the rows filled.
    int Rellenar(MemTable& ivas, TLstUtil& util);
    void Vaciar();
    int Filas() const { return filas_; }
    int FilasUsadas() const { return usadas_; }

private:
    ReportBand* banda_ = nullptr;
    int filas_ = 0;
    int usadas_ = 0;
    std::array<ReportLabel*, MaxFilas> base_{};
    std::array<ReportLabel*, MaxFilas> porcentaje_{};
    std::array<ReportLabel*, MaxFilas> iva_{};
};

} // namespace lumetra

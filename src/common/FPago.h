// TFPago: one payment form, searched by code and type through the BUSCAR_FORMA_PAGO procedure.
//
// Codes run from 0 to 99999; any other value is stored as -1, which the search treats as
// "any code". A search that finds nothing leaves the code and clears the rest (id -1).
#pragma once

#include "common/Base.h"

namespace lumetra {

class TFPago : public TBase {
    Q_OBJECT

public:
    static constexpr double CodigoMaximo = 99999;

    using TBase::TBase;

    void SetCodigo(double codigo);
    // 0 with the payment form loaded, or EstadoNoEncontrado. `tipo` is the TIPO of the form
    // (0 collections from customers, 1 payments to suppliers, -1 any).
    int BuscarCodigo(int tipo);

    double Codigo() const { return codigo_; }
    int Id() const { return id_; }
    const QString& Descripcion() const { return descripcion_; }
    int Tipo() const { return tipo_; }
    int TipoPago() const { return tipoPago_; }

private:
    static constexpr int SlotBusqueda = 6;

    double codigo_ = -1;
    int id_ = -1;
    QString descripcion_;
    int tipo_ = 0;
    int tipoPago_ = 0;
};

} // namespace lumetra

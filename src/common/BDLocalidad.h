// TBDLocalidad: reads LOCALIDAD rows by id, by province or by postcode into a result list.
#pragma once

#include "common/Base.h"

#include <QList>

namespace lumetra {

// How a locality search matches its value (the numbers are the host's search modes).
enum class TModoBusquedaLocalidad {
    PorId = 0,
    PorProvincia = 1,
    PorCodigoPostal = 3,
};

struct TDatosLocalidad {
    int IdLocalidad = 0;
    int IdProvincia = 0;
    int CodigoPostal = 0;
    QString Descripcion;
};

class TBDLocalidad : public TBase {
    Q_OBJECT

public:
    using TBase::TBase;

    // Replaces the result list with every matching row. 0, or EstadoNoEncontrado when empty.
    int Buscar(TModoBusquedaLocalidad modo, int valor);
    const QList<TDatosLocalidad>& Resultados() const { return resultados_; }

private:
    static constexpr int SlotLocalidad = 0;

    QList<TDatosLocalidad> resultados_;
};

} // namespace lumetra

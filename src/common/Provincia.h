// TProvincia: one province record, looked up by id.
#pragma once

#include "common/Base.h"

namespace lumetra {

class TProvincia : public TBase {
    Q_OBJECT

public:
    using TBase::TBase;

    // 0 and the record loaded, or EstadoNoEncontrado with the record left as it was.
    int BuscarId(int id);
    void Limpiar();

    int Id() const { return id_; }
    const QString& Codigo() const { return codigo_; }
    const QString& Descripcion() const { return descripcion_; }

private:
    static constexpr int SlotProvincia = 0;

    int id_ = 0;
    QString codigo_;
    QString descripcion_;
};

} // namespace lumetra

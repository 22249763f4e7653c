// TFamilia: one article family, searched by id through the BUSCAR_FAMILIA procedure.
#pragma once

#include "common/Base.h"

namespace lumetra {

class TFamilia : public TBase {
    Q_OBJECT

public:
    using TBase::TBase;

    void SetId(int id);
    // 0 and the record loaded; EstadoNoEncontrado with the record cleared (id -1).
    int BuscarId();
    void Limpiar();

    int Id() const { return id_; }
    const QString& Codigo() const { return codigo_; }
    const QString& Descripcion() const { return descripcion_; }
    int IdGrupo() const { return idGrupo_; }

private:
    static constexpr int SlotBusqueda = 6;

    int id_ = -1;
    QString codigo_;
    QString descripcion_;
    int idGrupo_ = 0;
};

} // namespace lumetra

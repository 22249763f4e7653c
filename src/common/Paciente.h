// TPaciente: one patient record, searched by id through the BUSCAR_PACIENTE procedure.
#pragma once

#include "common/Base.h"

namespace lumetra {

class TPaciente : public TBase {
    Q_OBJECT

public:
    // Deleted-state selectors of the search.
    static constexpr int SoloNoBorrados = 0;
    static constexpr int SoloBorrados = 1;
    static constexpr int BorradosYNoBorrados = 2;

    using TBase::TBase;

    void SetId(double id);
    // 0 and the record loaded; EstadoNoEncontrado with the record cleared (id and code -1).
    int Buscar(int borrado);

    double Id() const { return id_; }
    int Codigo() const { return codigo_; }
    const QString& Nombre() const { return nombre_; }
    const QString& Apellidos() const { return apellidos_; }
    const QString& NombreCompleto() const { return nombreCompleto_; }
    const QString& Nif() const { return nif_; }
    const QString& Direccion() const { return direccion_; }
    int IdLocalidad() const { return idLocalidad_; }
    const QString& Telefono() const { return telefono_; }
    int Borrado() const { return borrado_; }

private:
    static constexpr int SlotBusqueda = 6;

    void Limpiar();

    double id_ = -1;
    int codigo_ = -1;
    QString nombre_;
    QString apellidos_;
    QString nombreCompleto_;
    QString nif_;
    QString direccion_;
    int idLocalidad_ = 0;
    QString telefono_;
    int borrado_ = 0;
};

} // namespace lumetra

// TTienda: the store list of the listing window and one store record with its locality.
//
// CargarTiendas fills four parallel lists (ids, codes, descriptions, addresses) with every
// store except the placeholder id 0, in the order of their codes. BuscarId and
// BuscarDescripcion load the record by the id or description set before; a store that is not
// found clears the record (id -1, so it never reads as the placeholder store 0).
#pragma once

#include "common/Base.h"

#include <QStringList>

namespace lumetra {

class TLocalidad;

class TTienda : public TBase {
    Q_OBJECT

public:
    TTienda(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos);

    // Always 0; the lists are empty when there is no store.
    int CargarTiendas();
    const QStringList& Ids() const { return ids_; }
    const QStringList& Codigos() const { return codigos_; }
    const QStringList& Descripciones() const { return descripciones_; }
    const QStringList& Direcciones() const { return direcciones_; }

    void SetId(int id);
    void SetDescripcion(const QString& descripcion);
    // 0, or EstadoNoEncontrado.
    int BuscarId();
    int BuscarDescripcion();

    int Id() const { return id_; }
    double Codigo() const { return codigo_; }
    const QString& Descripcion() const { return descripcion_; }
    const QString& Direccion() const { return direccion_; }
    int IdLocalidad() const { return idLocalidad_; }
    const TLocalidad& Localidad() const { return *localidad_; }

private:
    static constexpr int SlotLista = 0;
    static constexpr int SlotPorId = 1;
    static constexpr int SlotPorDescripcion = 2;

    int Cargar(int slot);
    void Limpiar();

    TLocalidad* localidad_;   // child object
    QStringList ids_;
    QStringList codigos_;
    QStringList descripciones_;
    QStringList direcciones_;

    int id_ = -1;
    double codigo_ = 0;
    QString descripcion_;
    QString direccion_;
    int idLocalidad_ = 0;
};

} // namespace lumetra

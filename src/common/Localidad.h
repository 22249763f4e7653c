// TLocalidad: one locality record with its province.
//
// Buscar loads the first matching row and then its province. The province is cleared before
// it is looked up, so a locality whose province row is missing carries an empty province rather
// than the one of an earlier search. A search that finds nothing clears the record (id -1).
#pragma once

#include "common/BDLocalidad.h"
#include "common/Base.h"

namespace lumetra {

class TProvincia;

class TLocalidad : public TBase {
    Q_OBJECT

public:
    TLocalidad(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos);

    // 0, or EstadoNoEncontrado.
    int Buscar(TModoBusquedaLocalidad modo, int valor);
    void Limpiar();

    int Id() const { return id_; }
    int IdProvincia() const { return idProvincia_; }
    int CodigoPostal() const { return codigoPostal_; }
    const QString& Descripcion() const { return descripcion_; }
    const TProvincia& Provincia() const { return *provincia_; }

private:
    TProvincia* provincia_;      // child object
    TBDLocalidad* lector_;       // child object
    int id_ = -1;
    int idProvincia_ = 0;
    int codigoPostal_ = 0;
    QString descripcion_;
};

} // namespace lumetra

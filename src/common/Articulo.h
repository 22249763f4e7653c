// TArticulo: one article, searched by reference through the BUSCAR_ARTICULO procedure, with
// its family.
//
// A reference that is empty or longer than the column (14 characters or more) is refused
// without touching the database. Any search that does not find the article clears the record
// and its family (ids -1); the reference stays as set.
#pragma once

#include "common/Base.h"

namespace lumetra {

class TFamilia;

class TArticulo : public TBase {
    Q_OBJECT

public:
    static constexpr int LongitudMaximaReferencia = 13;

    TArticulo(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos);

    void SetReferencia(const QString& referencia);
    // 0 with the article and its family loaded; EstadoReferenciaInvalida; EstadoNoEncontrado.
    int BuscarReferencia();

    const QString& Referencia() const { return referencia_; }
    int IdArticulo() const { return idArticulo_; }
    const QString& CodigoBarras() const { return codigoBarras_; }
    const QString& Descripcion() const { return descripcion_; }
    int IdFamilia() const { return idFamilia_; }
    int IdGrupo() const { return idGrupo_; }
    int IdIva() const { return idIva_; }
    double PvpM1() const { return pvpM1_; }
    int Borrado() const { return borrado_; }
    const TFamilia& Familia() const { return *familia_; }

private:
    static constexpr int SlotBusqueda = 6;

    void Limpiar();

    TFamilia* familia_;   // child object
    QString referencia_;
    int idArticulo_ = -1;
    QString codigoBarras_;
    QString descripcion_;
    int idFamilia_ = -1;
    int idGrupo_ = 0;
    int idIva_ = 0;
    double pvpM1_ = 0;
    int borrado_ = 0;
};

} // namespace lumetra

// TBase: the data-access base of every domain lookup.
//
// An object owns five query slots (0-4, Dataset) and two stored-procedure slots (5-6,
// StoredProc), all on the master connection it was built with. Slot operations return a status
// that is also kept as the last status (Estado). The connection runs without an explicit
// transaction, so every statement is committed by the driver on its own.
//
// Database failures are not caught here: DatabaseError reaches the caller. A missing row is not
// a failure: lookups report it through their status.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <memory>

namespace lumetra {

class Database;
class Dataset;
class StoredProc;

class TBase : public QObject {
    Q_OBJECT

public:
    // Statuses of the slot operations and of the lookups built on them.
    static constexpr int EstadoCorrecto = 0;
    static constexpr int EstadoNoEncontrado = -5;
    static constexpr int EstadoSlotInvalido = -11;
    static constexpr int EstadoSinFilas = -21301;
    static constexpr int EstadoReferenciaInvalida = -21506;

    static constexpr int PrimeraConsulta = 0;
    static constexpr int UltimaConsulta = 4;
    static constexpr int PrimerProcedimiento = 5;
    static constexpr int UltimoProcedimiento = 6;

    // The SQL texts the lookups run, kept in one place.
    enum class EntradaSQL {
        Monedas,
        Tiendas,
        TiendaPorId,
        TiendaPorDescripcion,
        Ivas,
        LocalidadPorId,
        LocalidadesPorProvincia,
        LocalidadesPorCodigoPostal,
        ProvinciaPorId,
    };
    static QString CatalogoSQL(EntradaSQL entrada);

    // `propietario` becomes the QObject parent. Both connections belong to the caller and must
    // outlive this object; every slot reads through `baseDatosMaestros`.
    TBase(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos);
    ~TBase() override;

    // Query slots: closes the dataset and sets its SQL text. Procedure slots: sets the procedure
    // name with no inputs set. 0, or EstadoSlotInvalido.
    int SetSQL(int slot, const QString& texto);
    // Query slots: prepares and executes the statement; a row-returning one stays open on its
    // first row and gives EstadoSinFilas when it has none. Procedure slots: executes the
    // procedure; its outputs read until Close.
    int Open(int slot);
    // Closes and unprepares the slot, ending the transaction its statement ran in, so the next
    // Open sees the data as it is then (procedure slots kept prepared only drop their outputs).
    int Close(int slot);
    int Estado() const { return estado_; }

    // With `true`, a procedure slot stays prepared from one call of the same procedure to the
    // next instead of being prepared again for each: much cheaper, but every later call answers
    // from the snapshot of the first, so only for an object that serves one listing.
    void SetMantenerPreparados(bool mantener) { mantenerPreparados_ = mantener; }

    Database* BaseDatosMaestros() const { return baseDatosMaestros_; }
    Database* BaseDatos() const { return baseDatos_; }

protected:
    // REQUIRES: PrimeraConsulta <= slot <= UltimaConsulta (else std::out_of_range).
    Dataset& Consulta(int slot);
    // REQUIRES: PrimerProcedimiento <= slot <= UltimoProcedimiento (else std::out_of_range).
    StoredProc& Procedimiento(int slot);

private:
    static bool EsConsulta(int slot) { return slot >= PrimeraConsulta && slot <= UltimaConsulta; }
    static bool EsProcedimiento(int slot) { return slot >= PrimerProcedimiento && slot <= UltimoProcedimiento; }
    int Resultado(int estado);
    void NuevoProcedimiento(int slot, const QString& nombre);

    Database* baseDatosMaestros_;
    Database* baseDatos_;
    std::array<std::unique_ptr<Dataset>, UltimaConsulta - PrimeraConsulta + 1> consultas_;
    std::array<std::unique_ptr<StoredProc>, UltimoProcedimiento - PrimerProcedimiento + 1> procedimientos_;
    int estado_ = EstadoCorrecto;
    bool mantenerPreparados_ = false;
};

} // namespace lumetra

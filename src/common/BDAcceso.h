// TBDAcceso: one row of the access-audit table ACCESO, filled value by value and inserted after a
// fixed set of checks. Every setter stores its value only when it differs; setting the option code
// also sets the option name from the application's option table.
//
// Insertar() refuses an incomplete row with a negative check code and writes nothing. Database
// failures are not caught: DatabaseError reaches the caller (the window's close handler), its
// message saying that the access could not be recorded and why.
#pragma once

#include "common/Base.h"
#include "hostapi/RegistroAcceso.h"
#include "platform/format/DateTime.h"

#include <QString>

namespace lumetra {

class TBDAcceso : public TBase, public TRegistroAcceso {
    Q_OBJECT

public:
    // Check codes of Insertar, in the order the checks run.
    static constexpr int ErrorOpcion = -24700;           // ID_OPCION is -1
    static constexpr int ErrorUsuario = -24701;          // ID_USUARIO is -1
    static constexpr int ErrorTipoOperacion = -24703;    // OPERACION_TIP outside 0..11
    static constexpr int ErrorNombreUsuario = -24705;    // USUARIO_NOM empty
    static constexpr int ErrorNombreOpcion = -24704;     // OPCION_NOM empty
    static constexpr int ErrorFechaSistema = -24707;     // FECHA_SISTEMA is the zero date
    static constexpr int ErrorFechaPrograma = -24708;    // FECHA_PROGRAMA is the zero date

    // The option the listing module records when its window closes.
    static constexpr int OpcionHojaCajaDiaria = 4001;

    using TBase::TBase;

    // Fills the row for a use of `opcion` by the user in the store and inserts it. The program
    // date is the working date with the current time of day. A refused row is silently dropped.
    void RegistrarAcceso(int idUsuario, int opcion, int idTienda, const DateTime& fechaTrabajo) override;

    // 0 when the row was inserted and committed, else the first failing check code.
    int Insertar();

    // NOMBRE_USUARIO of the user, "Desconocido" when there is no such user.
    QString NombreUsuario(int idUsuario);
    // The name of an option code of the application; empty for an unknown code.
    static QString NombreOpcion(int opcion);

    void SetIdUsuario(int valor);
    void SetIdOpcion(int valor);
    void SetIdOperacion(int valor);
    void SetIdTienda(int valor);
    void SetFechaSistema(const DateTime& valor);
    void SetFechaPrograma(const DateTime& valor);
    void SetUsuarioNom(const QString& valor);
    void SetOpcionNom(const QString& valor);
    void SetOperacionCod(const QString& valor);
    void SetOperacionDet(const QString& valor);
    void SetOperacionImp(double valor);
    void SetOperacionTip(int valor);
    void SetOperacionEnt(int valor);
    void SetOperacionFecha(const DateTime& valor);

    int IdUsuario() const { return idUsuario_; }
    int IdOpcion() const { return idOpcion_; }
    int IdOperacion() const { return idOperacion_; }
    int IdTienda() const { return idTienda_; }
    DateTime FechaSistema() const { return fechaSistema_; }
    DateTime FechaPrograma() const { return fechaPrograma_; }
    const QString& UsuarioNom() const { return usuarioNom_; }
    const QString& OpcionNom() const { return opcionNom_; }
    const QString& OperacionCod() const { return operacionCod_; }
    const QString& OperacionDet() const { return operacionDet_; }
    double OperacionImp() const { return operacionImp_; }
    int OperacionTip() const { return operacionTip_; }
    int OperacionEnt() const { return operacionEnt_; }
    DateTime OperacionFecha() const { return operacionFecha_; }

private:
    static constexpr int SlotUsuario = 0;
    static constexpr int SlotInsercion = 1;

    int Comprobar() const;

    int idUsuario_ = -1;
    int idOpcion_ = -1;
    int idOperacion_ = -1;
    int idTienda_ = 0;
    DateTime fechaSistema_;
    DateTime fechaPrograma_;
    QString usuarioNom_;
    QString opcionNom_;
    QString operacionCod_;
    QString operacionDet_;
    double operacionImp_ = 0;
    int operacionTip_ = 0;
    int operacionEnt_ = 0;
    DateTime operacionFecha_;
};

} // namespace lumetra

#include "common/BDAcceso.h"

#include "platform/db/DatabaseError.h"
#include "platform/db/Dataset.h"
#include "platform/db/StatementDeadline.h"

#include <chrono>
#include <cmath>

namespace lumetra {

namespace {

struct Opcion {
    int codigo;
    const char* nombre;   // UTF-8
};

// The application's menu options by area: 1xxx system, 2xxx patients, 3xxx sales, 4xxx cash,
// 5xxx purchases and stock, 6xxx listings, 7xxx auxiliary tables, 9xxx the rest.
constexpr Opcion kOpciones[] = {
    {1001, "Cambio de empresa"},
    {1002, "Cambio de usuario"},
    {1003, "Configuración de la empresa"},
    {1004, "Configuración del puesto"},
    {1005, "Configuración de impresoras"},
    {1006, "Usuarios"},
    {1007, "Permisos de usuarios"},
    {1008, "Copias de seguridad"},
    {1009, "Restaurar copia de seguridad"},
    {1010, "Reparar base de datos"},
    {1011, "Cambio de fecha de trabajo"},
    {1012, "Bloqueo de fechas"},
    {1013, "Registro de accesos"},
    {1014, "Acerca de Lumetra"},
    {1015, "Ayuda"},

    {2001, "Pacientes"},
    {2002, "Alta de paciente"},
    {2003, "Ficha de paciente"},
    {2004, "Graduaciones"},
    {2005, "Historia clínica"},
    {2006, "Lentes de contacto"},
    {2007, "Revisiones"},
    {2008, "Citas"},
    {2009, "Agenda"},
    {2010, "Recordatorio de revisiones"},
    {2011, "Fusión de pacientes"},
    {2012, "Borrado de pacientes"},
    {2013, "Etiquetas de pacientes"},
    {2014, "Cartas a pacientes"},
    {2015, "Mensajes SMS"},

    {3001, "Ventas"},
    {3002, "Venta directa"},
    {3003, "Encargos"},
    {3004, "Entrega de encargos"},
    {3005, "Cobros"},
    {3006, "Cobros pendientes"},
    {3007, "Devoluciones"},
    {3008, "Presupuestos"},
    {3009, "Facturas"},
    {3010, "Facturas rectificativas"},
    {3011, "Albaranes de venta"},
    {3012, "Anulación de ventas"},
    {3013, "Talleres"},
    {3014, "Pedidos a laboratorio"},
    {3015, "Seguimiento de encargos"},
    {3016, "Bonos y vales"},
    {3017, "Tarjetas de fidelización"},
    {3018, "Agentes comerciales"},
    {3019, "Grupos de venta"},
    {3020, "Promociones"},

    {4000, "Caja"},
    {4001, "Hoja de caja diaria"},
    {4002, "Hoja de caja oficial"},
    {4003, "Apertura de caja"},
    {4004, "Cierre de caja"},
    {4005, "Entradas de caja"},
    {4006, "Salidas de caja"},
    {4007, "Arqueo de caja"},
    {4008, "Diario de IVA"},
    {4009, "Cobros con tarjeta"},
    {4010, "Formas de pago"},
    {4011, "Monedas"},
    {4012, "Bancos"},
    {4013, "Remesas bancarias"},
    {4014, "Cuentas contables"},
    {4015, "Enlace contable"},

    {5001, "Proveedores"},
    {5002, "Pedidos a proveedor"},
    {5003, "Recepción de pedidos"},
    {5004, "Albaranes de compra"},
    {5005, "Facturas de compra"},
    {5006, "Pagos a proveedores"},
    {5007, "Artículos"},
    {5008, "Alta de artículos"},
    {5009, "Familias"},
    {5010, "Marcas"},
    {5011, "Tipos de IVA"},
    {5012, "Tarifas"},
    {5013, "Actualización de precios"},
    {5014, "Existencias"},
    {5015, "Inventario"},
    {5016, "Regularización de existencias"},
    {5017, "Traspasos entre tiendas"},
    {5018, "Etiquetas de artículos"},
    {5019, "Catálogo de lentes"},
    {5020, "Importación de catálogos"},

    {6001, "Listado pacientes"},
    {6002, "Listado de graduaciones"},
    {6003, "Listado de ventas"},
    {6004, "Listado de encargos"},
    {6005, "Listado de cobros"},
    {6006, "Listado de cobros pendientes"},
    {6007, "Listado de facturas"},
    {6008, "Listado de artículos"},
    {6009, "Listado de existencias"},
    {6010, "Listado de inventario"},
    {6011, "Listado de compras"},
    {6012, "Listado de proveedores"},
    {6013, "Listado de ventas por agente"},
    {6014, "Listado de ventas por familia"},
    {6015, "Listado de ventas por grupo"},
    {6016, "Listado de revisiones"},
    {6017, "Estadísticas de ventas"},
    {6018, "Estadísticas de pacientes"},
    {6019, "Ranking de artículos"},
    {6020, "Listado de accesos"},

    {7001, "Tiendas"},
    {7002, "Provincias"},
    {7003, "Localidades"},
    {7004, "Observaciones"},
    {7005, "Tratamientos"},
    {7006, "Puestos de trabajo"},
    {7007, "Teclado"},
    {7008, "Mutuas"},
    {7009, "Médicos"},
    {7010, "Motivos de devolución"},

    {9001, "Enviar correo electrónico"},
    {9002, "Soporte remoto"},
    {9003, "Actualización de Lumetra"},
    {9999, "Saliendo de Lumetra"},
};

constexpr std::chrono::milliseconds kEsperaMaxima{5000};

const QString kSelectUsuario = QStringLiteral("select NOMBRE_USUARIO from USUARIO where ID_USUARIO = :ID");

const QString kInsertAcceso = QStringLiteral(
    "insert into ACCESO "
    "(ID_USUARIO, ID_OPCION, ID_OPERACION, ID_TIENDA, FECHA_SISTEMA, FECHA_PROGRAMA, USUARIO_NOM, OPCION_NOM, "
    "OPERACION_COD, OPERACION_DET, OPERACION_IMP, OPERACION_TIP, OPERACION_ENT, OPERACION_FECHA) "
    "values "
    "(:ID_USUARIO, :ID_OPCION, :ID_OPERACION, :ID_TIENDA, :FECHA_SISTEMA, :FECHA_PROGRAMA, :USUARIO_NOM, :OPCION_NOM, "
    ":OPERACION_COD, :OPERACION_DET, :OPERACION_IMP, :OPERACION_TIP, :OPERACION_ENT, :OPERACION_FECHA) ");

template <class T>
void asignar(T& campo, const T& valor)
{
    if (!(campo == valor))
        campo = valor;
}

} // namespace

QString TBDAcceso::NombreOpcion(int opcion)
{
    for (const Opcion& o : kOpciones) {
        if (o.codigo == opcion)
            return QString::fromUtf8(o.nombre);
    }
    return QString();
}

QString TBDAcceso::NombreUsuario(int idUsuario)
{
    SetSQL(SlotUsuario, kSelectUsuario);
    Consulta(SlotUsuario).setParam(QStringLiteral("ID"), idUsuario);
    QString nombre = QStringLiteral("Desconocido");
    if (Open(SlotUsuario) == EstadoCorrecto)
        nombre = Consulta(SlotUsuario).fieldAsText(QStringLiteral("NOMBRE_USUARIO"));
    Close(SlotUsuario);
    return nombre;
}

void TBDAcceso::RegistrarAcceso(int idUsuario, int opcion, int idTienda, const DateTime& fechaTrabajo)
{
    SetIdUsuario(idUsuario);
    SetUsuarioNom(NombreUsuario(idUsuario));

    const DateTime ahora = DateTime::now();
    const double horaDelDia = ahora.serial() - std::floor(ahora.serial());
    SetIdOpcion(opcion);
    SetIdOperacion(-1);
    SetIdTienda(idTienda);
    SetOperacionCod(QString());
    SetOperacionTip(1);
    SetOperacionEnt(0);
    SetOperacionDet(QString());
    SetFechaSistema(ahora);
    SetFechaPrograma(DateTime(std::floor(fechaTrabajo.serial()) + horaDelDia));
    SetOperacionImp(0);
    SetOperacionFecha(DateTime::zero());

    // A refused row is not an error for the caller: the access simply goes unrecorded.
    Insertar();
}

int TBDAcceso::Comprobar() const
{
    if (idOpcion_ == -1)
        return ErrorOpcion;
    if (idUsuario_ == -1)
        return ErrorUsuario;
    if (operacionTip_ >= 12 || operacionTip_ < 0)
        return ErrorTipoOperacion;
    if (usuarioNom_.isEmpty())
        return ErrorNombreUsuario;
    if (opcionNom_.isEmpty())
        return ErrorNombreOpcion;
    if (fechaSistema_.isZero())
        return ErrorFechaSistema;
    if (fechaPrograma_.isZero())
        return ErrorFechaPrograma;
    return EstadoCorrecto;
}

int TBDAcceso::Insertar()
{
    const int comprobacion = Comprobar();
    if (comprobacion != EstadoCorrecto)
        return comprobacion;

    SetSQL(SlotInsercion, kInsertAcceso);
    Dataset& insercion = Consulta(SlotInsercion);
    insercion.setParam(QStringLiteral("ID_USUARIO"), idUsuario_);
    insercion.setParam(QStringLiteral("ID_OPCION"), idOpcion_);
    insercion.setParam(QStringLiteral("ID_OPERACION"), idOperacion_);
    insercion.setParam(QStringLiteral("ID_TIENDA"), idTienda_);
    insercion.setParam(QStringLiteral("FECHA_SISTEMA"), fechaSistema_);
    insercion.setParam(QStringLiteral("FECHA_PROGRAMA"), fechaPrograma_);
    insercion.setParam(QStringLiteral("USUARIO_NOM"), usuarioNom_);
    insercion.setParam(QStringLiteral("OPCION_NOM"), opcionNom_);
    insercion.setParam(QStringLiteral("OPERACION_COD"), operacionCod_);
    insercion.setParam(QStringLiteral("OPERACION_DET"), operacionDet_);
    insercion.setParam(QStringLiteral("OPERACION_IMP"), operacionImp_);
    insercion.setParam(QStringLiteral("OPERACION_TIP"), operacionTip_);
    insercion.setParam(QStringLiteral("OPERACION_ENT"), operacionEnt_);
    insercion.setParam(QStringLiteral("OPERACION_FECHA"), operacionFecha_);
    // The master connection has no explicit transaction: the driver commits the insert itself.
    // Another workstation holding the table must not keep the window from closing.
    {
        const StatementDeadline plazo(*BaseDatosMaestros(), kEsperaMaxima);
        try {
            Open(SlotInsercion);
        } catch (const DatabaseError& e) {
            Close(SlotInsercion);
            if (plazo.expired())
                throw DatabaseError(QStringLiteral("No se ha podido anotar el acceso: otro puesto tiene bloqueado el registro de "
                                                   "accesos y no lo ha liberado en %1 segundos")
                                        .arg(std::chrono::duration_cast<std::chrono::seconds>(kEsperaMaxima).count()),
                                    e.database(), e.statement());
            // What was printed stands; the person is told the access went unrecorded, and why.
            throw DatabaseError(QStringLiteral("No se ha podido anotar el acceso: %1").arg(e.message()), e.database(),
                                e.statement());
        }
    }
    return Close(SlotInsercion);
}

void TBDAcceso::SetIdUsuario(int valor) { asignar(idUsuario_, valor); }

void TBDAcceso::SetIdOpcion(int valor)
{
    if (idOpcion_ == valor)
        return;
    idOpcion_ = valor;
    SetOpcionNom(NombreOpcion(valor));
}

void TBDAcceso::SetIdOperacion(int valor) { asignar(idOperacion_, valor); }
void TBDAcceso::SetIdTienda(int valor) { asignar(idTienda_, valor); }
void TBDAcceso::SetFechaSistema(const DateTime& valor) { asignar(fechaSistema_, valor); }
void TBDAcceso::SetFechaPrograma(const DateTime& valor) { asignar(fechaPrograma_, valor); }
void TBDAcceso::SetUsuarioNom(const QString& valor) { asignar(usuarioNom_, valor); }
void TBDAcceso::SetOpcionNom(const QString& valor) { asignar(opcionNom_, valor); }
void TBDAcceso::SetOperacionCod(const QString& valor) { asignar(operacionCod_, valor); }
void TBDAcceso::SetOperacionDet(const QString& valor) { asignar(operacionDet_, valor); }
void TBDAcceso::SetOperacionImp(double valor) { asignar(operacionImp_, valor); }
void TBDAcceso::SetOperacionTip(int valor) { asignar(operacionTip_, valor); }
void TBDAcceso::SetOperacionEnt(int valor) { asignar(operacionEnt_, valor); }
void TBDAcceso::SetOperacionFecha(const DateTime& valor) { asignar(operacionFecha_, valor); }

} // namespace lumetra

#include "hostapi/Usuario.h"

#include "platform/db/Dataset.h"

namespace lumetra {

bool TUsuario::Cargar(Database& database, int idUsuario)
{
    Dataset usuario(QStringLiteral("dstUsuario"));
    usuario.setDatabase(&database);
    usuario.setSql(QStringLiteral(
        "select NOMBRE_USUARIO, PERMITE_TOTALES_MES, PERMITE_TOTALES_DIA, PERMITE_INFORME_GRUPOS, "
        "PERMITE_INFORME_TARJETAS, DETALLE_ENCARGOS, FECHAS_BLOQUEADAS, SOLO_TIENDA_PROPIA "
        "from USUARIO where ID_USUARIO = :ID"));
    usuario.setParam(QStringLiteral("ID"), idUsuario);
    usuario.open();
    IdUsuario = idUsuario;
    if (usuario.isEmpty()) {
        Nombre.clear();
        PermiteTotalesMes = PermiteTotalesDia = PermiteInformeGrupos = PermiteInformeTarjetas = 0;
        DetalleEncargos = FechasBloqueadas = SoloTiendaPropia = 0;
        return false;
    }
    Nombre = usuario.fieldAsText(QStringLiteral("NOMBRE_USUARIO"));
    PermiteTotalesMes = usuario.fieldAsInteger(QStringLiteral("PERMITE_TOTALES_MES"));
    PermiteTotalesDia = usuario.fieldAsInteger(QStringLiteral("PERMITE_TOTALES_DIA"));
    PermiteInformeGrupos = usuario.fieldAsInteger(QStringLiteral("PERMITE_INFORME_GRUPOS"));
    PermiteInformeTarjetas = usuario.fieldAsInteger(QStringLiteral("PERMITE_INFORME_TARJETAS"));
    DetalleEncargos = usuario.fieldAsInteger(QStringLiteral("DETALLE_ENCARGOS"));
    FechasBloqueadas = usuario.fieldAsInteger(QStringLiteral("FECHAS_BLOQUEADAS"));
    SoloTiendaPropia = usuario.fieldAsInteger(QStringLiteral("SOLO_TIENDA_PROPIA"));
    return true;
}

} // namespace lumetra

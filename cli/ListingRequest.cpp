#include "ListingRequest.h"

#include "hostapi/Condiciones.h"
#include "hostapi/Configuracion.h"
#include "hostapi/HostParams.h"
#include "hostapi/Puesto.h"
#include "hostapi/Usuario.h"

#include <stdexcept>

namespace lumetra {

namespace {

using Listado = ListadosOptions::Listado;

// A check box of the cash sheet: set only when the user's rights show it.
void setOption(bool& field, const std::optional<bool>& value, bool allowed, const char* option, const char* caption)
{
    if (!value)
        return;
    if (!allowed)
        throw OptionError(QStringLiteral("el usuario no tiene permiso para --%1 («%2»)")
                              .arg(QLatin1String(option), QString::fromUtf8(caption)));
    field = *value;
}

QList<int> storePositions(const QList<int>& ids, const TiendasListado& stores, const HostParams& host)
{
    const int propia = host.Puesto->IdTienda;
    if (host.Usuario->SoloTiendaPropia != 0) {
        // The list holds the user's own store only.
        if (ids != QList<int>{propia})
            throw OptionError(QStringLiteral("el usuario solo puede listar su tienda (%1)").arg(propia));
        return {0};
    }
    if (ids.isEmpty())
        return {0};
    QList<int> positions;
    for (int id : ids) {
        // Item 0 is the all-stores item; the stores follow it in the list's order.
        const qsizetype position = stores.ids.indexOf(id, 1);
        if (position < 1)
            throw OptionError(QStringLiteral("la tienda %1 no existe").arg(id));
        positions << int(position);
    }
    return positions;
}

} // namespace

int ListingRequest::listingCode(Listado listado)
{
    switch (listado) {
    case Listado::Hoja: return SolicitudListado::ListadoHojaCaja;
    case Listado::Diario: return SolicitudListado::ListadoDiario;
    case Listado::Grupos: return SolicitudListado::ListadoGrupos;
    case Listado::Tarjetas: return SolicitudListado::ListadoTarjetas;
    }
    return 0;
}

SolicitudListado ListingRequest::build(const ListadosOptions& o, SolicitudListado s, const TiendasListado& stores,
                                       const HostParams& host)
{
    const TUsuario& usuario = *host.Usuario;
    const bool grupos = host.Configuracion->UsaGrupos != 0;
    if (o.listado == Listado::Grupos && !grupos)
        throw OptionError(QStringLiteral("la empresa no usa grupos de venta: el informe por grupos no está disponible"));
    s.listado = listingCode(o.listado);

    const QString bloqueadas = QStringLiteral("el usuario no puede cambiar las fechas de los listados (--%1)");
    const bool fechas = usuario.FechasBloqueadas == 0;
    if (!o.operador.isEmpty()) {
        if (!fechas)
            throw OptionError(bloqueadas.arg(QStringLiteral("fecha")));
        const int codigo = host.Condiciones->CodigoOperador(o.operador);
        if (codigo > TCondiciones::Entre && o.operador != QLatin1String("Todos/as"))
            throw std::runtime_error(QStringLiteral("la lista de operadores no ofrece «%1»").arg(o.operador).toStdString());
        s.operador = codigo;
    }
    if (o.desde) {
        if (!fechas)
            throw OptionError(bloqueadas.arg(QStringLiteral("desde")));
        s.desde = *o.desde;
    }
    if (o.hasta) {
        if (!fechas)
            throw OptionError(bloqueadas.arg(QStringLiteral("hasta")));
        s.hasta = *o.hasta;
    }
    if (o.tiendas)
        s.MarcarTiendas(stores, storePositions(*o.tiendas, stores, host));
    if (o.iva)
        s.calculoIva = *o.iva;
    if (o.tipo)
        s.tipoDiario = *o.tipo;
    if (o.familia)
        s.familia = *o.familia;
    // The day totals tick the monthly ones when the user may have them, as the window's box
    // does; an explicit --totales-mes comes after and wins.
    setOption(s.totalesDia, o.totalesDia, usuario.PermiteTotalesDia != 0, "totales-dia", "Imprimir Totales del día");
    if (o.totalesDia && usuario.PermiteTotalesMes != 0)
        s.totalesMes = *o.totalesDia;
    setOption(s.totalesMes, o.totalesMes, usuario.PermiteTotalesMes != 0, "totales-mes", "Imprimir Totales Mensuales");
    setOption(s.informeGrupos, o.informeGrupos, grupos && usuario.PermiteInformeGrupos != 0, "informe-grupos",
              "Imprimir Informe Por Grupos");
    setOption(s.informeTarjetas, o.informeTarjetas, usuario.PermiteInformeTarjetas != 0, "informe-tarjetas",
              "Imprimir Informe Por Tarjetas");
    setOption(s.detalleCaja, o.detalleEncargos, true, "detalle-encargos", "Imprimir Detalle Encargos");
    return s;
}

} // namespace lumetra

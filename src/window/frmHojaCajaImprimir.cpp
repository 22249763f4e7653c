// The print dispatch of the listing window: validate the active page, load its data, print.
#include "window/frmHojaCaja.h"

#include "common/Guarded.h"

namespace lumetra {

int TfrmHojaCaja::ImprimirHojaCaja()
{
    return Guarded(*this, QStringLiteral("ImprimirHojaCaja"), [&] {
        if (IntegridadDatos() != 0)
            return resultado_;
        return sinListado(QStringLiteral("Hoja de Caja"));
    }, -1);
}

int TfrmHojaCaja::ImprimirDiario()
{
    return Guarded(*this, QStringLiteral("ImprimirDiario"), [&] {
        if (IntegridadDatos() != 0)
            return resultado_;
        return sinListado(QStringLiteral("Diario de I.V.A"));
    }, -1);
}

int TfrmHojaCaja::ImprimirGrupos()
{
    return Guarded(*this, QStringLiteral("ImprimirGrupos"), [&] {
        if (IntegridadDatos() != 0)
            return resultado_;
        return sinListado(QStringLiteral("Informe Por Grupos"));
    }, -1);
}

int TfrmHojaCaja::ImprimirTarjetas()
{
    return Guarded(*this, QStringLiteral("ImprimirTarjetas"), [&] {
        if (IntegridadDatos() != 0)
            return resultado_;
        return sinListado(QStringLiteral("Informe Por Tarjetas"));
    }, -1);
}

} // namespace lumetra

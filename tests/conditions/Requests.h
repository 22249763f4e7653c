// Listing requests for the condition and query tests. The store list is the one the window
// loads from ConditionsFixture's database, ordered by code: 0 "[Todas las Tiendas
// Seleccionadas]", 1 Gràcia (id 2), 2 Sabadell (id 3), 3 Centro (id 1), 4 Duplicada (id 4),
// 5 Duplicada (id 5).
#pragma once

#include "window/SolicitudListado.h"

#include <ostream>

namespace lumetra {

// Readable failure output.
inline void PrintTo(const SolicitudListado& s, std::ostream* os)
{
    QStringList tiendas;
    for (int id : s.tiendas)
        tiendas << QString::number(id);
    *os << "{listado " << s.listado << ", operador " << s.operador << ", " << s.TextoFechaInicio().toStdString() << " - "
        << s.TextoFechaFin().toStdString() << ", todas " << s.todasLasTiendas << ", tiendas [" << tiendas.join(',').toStdString()
        << "], filtro \"" << s.filtro.toStdString() << "\", iva " << s.calculoIva << ", tipo " << s.tipoDiario << ", opciones "
        << s.totalesDia << s.totalesMes << s.detalleCaja << s.informeGrupos << s.informeTarjetas << s.familia << "}";
}

} // namespace lumetra

namespace lumetra::test {

inline TiendasListado tiendasDePrueba()
{
    return TiendasListado::Todas({"2", "3", "1", "4", "5"},
                                 {"Lumetra Gràcia", "Lumetra Sabadell", "Lumetra Centro", "Lumetra Duplicada", "Lumetra Duplicada"});
}

// A request with the operator, the items ticked and the dates (d/m of 2013; 15/06 to 20/07
// unless given).
inline SolicitudListado solicitud(int listado, int operador, const QList<int>& items, int fromDay = 15, int fromMonth = 6,
                                  int toDay = 20, int toMonth = 7)
{
    SolicitudListado s;
    s.listado = listado;
    s.operador = operador;
    s.desde = DateTime::fromYmd(2013, fromMonth, fromDay);
    s.hasta = DateTime::fromYmd(2013, toMonth, toDay);
    s.MarcarTiendas(tiendasDePrueba(), items);
    s.calculoIva = SolicitudListado::IvaCobro;
    return s;
}

} // namespace lumetra::test

// Every listing the window prints, as lumetra-listados options: the cash sheet with every option
// and its reports on each VAT basis, each journal layout on each basis, groups and cards.
#pragma once

#include <QList>
#include <QStringList>

namespace lumetra::test {

inline QList<QStringList> everyListing()
{
    QList<QStringList> all;
    for (const char* iva : {"cobro", "encargo", "caja"}) {
        all << QStringList{"--listado", "hoja", "--iva", iva, "--totales-dia", "si", "--totales-mes", "si",
                           "--detalle-encargos", "si", "--informe-grupos", "si", "--informe-tarjetas", "si"};
        for (const char* tipo : {"resumido", "detallado", "dias-hoja", "dias"})
            all << QStringList{"--listado", "diario", "--iva", iva, "--tipo", tipo};
    }
    all << QStringList{"--listado", "grupos"} << QStringList{"--listado", "tarjetas"};
    return all;
}

} // namespace lumetra::test

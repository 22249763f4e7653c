// ListadosOptions: the command line of lumetra-listados, read into the values of a listing
// request. Reading checks each value on its own (dates dd/mm/yyyy, known words, numbers, an
// output file of a known format) and the options against each other (an option of another
// listing's page, --hasta without --fecha entre). It does not check anything that needs the
// database or the window: the user's rights and the store identifiers are checked when the
// request is built (ListingRequest).
//
// An option left out is an empty optional: the request keeps the value the window sets itself.
#pragma once

#include "platform/format/DateTime.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

namespace lumetra {

// A bad command line; the message is for the user, in Spanish.
class OptionError : public std::runtime_error {
public:
    explicit OptionError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
    QString message() const { return QString::fromUtf8(what()); }
};

class ListadosOptions {
public:
    enum class Listado { Hoja, Diario, Grupos, Tarjetas };

    QString baseDatos;
    std::optional<QString> usuarioBD;         // left out: ISC_USER, else the default user
    std::optional<QString> claveBD;           // left out: ISC_PASSWORD, else the default password
    int usuario = 1;
    int tienda = -1;                          // -1: the user's store
    DateTime fechaTrabajo;                    // zero: today
    Listado listado = Listado::Hoja;
    QString operador;                         // the window's operator text; empty: keep
    std::optional<DateTime> desde;
    std::optional<DateTime> hasta;
    std::optional<QList<int>> tiendas;        // an empty list: every store
    std::optional<int> iva;                   // index of the VAT basis: 0 cobro, 1 encargo, 2 caja
    std::optional<int> tipo;                  // index of the VAT-journal type
    std::optional<bool> familia;
    std::optional<bool> totalesDia;
    std::optional<bool> totalesMes;
    std::optional<bool> informeGrupos;
    std::optional<bool> informeTarjetas;
    std::optional<bool> detalleEncargos;
    QString salida;
    bool ayuda = false;

    // Reads the arguments (without the program name); "--name value" and "--name=value" both
    // work. With --help nothing else is required. Throws OptionError.
    static ListadosOptions parse(const QStringList& arguments);
    static QString usage();
    // The word --listado takes for a listing ("hoja", ...).
    static QString listadoWord(Listado listado);
};

} // namespace lumetra

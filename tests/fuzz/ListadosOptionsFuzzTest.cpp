// ListadosOptions::parse over mutated command lines (fixed seed): values dropped, arguments
// swapped, repeated or replaced by empty, very long, unicode or unknown ones. Every line either
// reads into options that keep the parser's own rules, or is refused with OptionError and a
// message for the user; a line that reads gives the same options in "--name=value" form and in any
// order of its options.
#include "ListadosOptions.h"
#include "Rng.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace lumetra;
using lumetra::fuzz::Rng;

namespace {

using Listado = ListadosOptions::Listado;

const QStringList kValidLines[] = {
    {"--db", "demo.fdb", "--listado", "hoja", "--salida", "hoja.pdf"},
    {"--db", "demo.fdb", "--listado", "hoja", "--fecha", "entre", "--desde", "01/05/2013", "--hasta", "31/05/2013",
     "--tiendas", "1,2", "--iva", "caja", "--totales-dia", "si", "--totales-mes", "no", "--informe-grupos", "si",
     "--informe-tarjetas", "no", "--detalle-encargos", "si", "--salida", "out/hoja.csv"},
    {"--db=srv/3051:tienda", "--usuario", "3", "--tienda=2", "--fecha-trabajo", "7/5/2013", "--listado", "diario",
     "--fecha", "mayor", "--desde", "01/05/2013", "--tiendas", "todas", "--iva", "encargo", "--tipo", "dias-hoja",
     "--familia", "si", "--salida", "diario.xlsx"},
    {"--listado=tarjetas", "--db", "/datos/tienda.fdb", "--salida=t.txt", "--fecha", "todas", "--tiendas", "3"},
    {"--listado", "grupos", "--db", "g.fdb", "--fecha", "distinto", "--desde", "29/02/2012", "--salida", "g.xml"},
    {"--db", "d.fdb", "--listado", "diario", "--tipo", "resumido", "--fecha", "menor", "--desde", "1/1/2000",
     "--salida", "d.png"},
    {"--help"},
};

const char* const kOptionNames[] = {"db", "usuario", "tienda", "fecha-trabajo", "listado", "fecha", "desde", "hasta",
                                    "tiendas", "iva", "tipo", "familia", "totales-dia", "totales-mes",
                                    "informe-grupos", "informe-tarjetas", "detalle-encargos", "salida"};

const char* const kValues[] = {"hoja", "diario", "grupos", "tarjetas", "entre", "todas", "igual", "si", "no",
                               "cobro", "caja", "dias", "01/05/2013", "31/02/2013", "1/13/2013", "00/00/0000",
                               "1,2,3", "0", "-1", "2147483648", "99999999999", "1e3", " 4 ", "x.pdf", "x.PDF",
                               ".csv", "sin-extension", "--", "-", "-h", "=", "==", "a=b", "--db", "--help"};

QString unusualText(Rng& rng)
{
    switch (rng.below(7)) {
    case 0:
        return QString();
    case 1: { // long enough for any buffer a reader might keep
        QString text(1 + rng.below(100000), rng.chance(50) ? u'9' : u'ñ');
        if (rng.chance(50))
            text += QStringLiteral(".pdf");
        return text;
    }
    case 2: { // any UTF-16, NUL and lone surrogates included
        QString text;
        for (int n = rng.below(12); n > 0; --n)
            text += rng.anyUnit();
        return text;
    }
    case 3: // right-to-left, combining marks, full-width digits
        return QString::fromUtf8(rng.chance(50) ? "\u202E\u0661\u0662/\u0660\u0665/\u0662\u0660\u0661\u0663"
                                                : "\u00F1\u0303\uFF11\uFF12.pdf");
    case 4:
        return QStringLiteral("--") + QString::fromLatin1(rng.pick(kOptionNames)).toUpper();
    case 5:
        return QStringLiteral("--") + QString::fromLatin1(rng.pick(kOptionNames)) + QStringLiteral("==")
               + QString::fromLatin1(rng.pick(kValues));
    default:
        return QStringLiteral("--color");
    }
}

QStringList mutate(Rng& rng, QStringList args)
{
    for (int steps = 1 + rng.below(4); steps > 0; --steps) {
        const int size = int(args.size());
        const int at = size > 0 ? rng.below(size) : 0;
        switch (rng.below(9)) {
        case 0: // drop an argument (an option's value, or the option leaving its value stray)
            if (size > 0)
                args.removeAt(at);
            break;
        case 1: // swap two
            if (size > 1)
                args.swapItemsAt(at, rng.below(size));
            break;
        case 2: // repeat one
            if (size > 0)
                args.insert(rng.below(size + 1), args.at(at));
            break;
        case 3:
            if (size > 0)
                args[at] = unusualText(rng);
            break;
        case 4:
            args.insert(rng.below(size + 1), unusualText(rng));
            break;
        case 5: // another known option with a value meant for some option
            args << QStringLiteral("--") + QString::fromLatin1(rng.pick(kOptionNames))
                 << QString::fromLatin1(rng.pick(kValues));
            break;
        case 6: // the same with "="
            args.insert(rng.below(size + 1), QStringLiteral("--") + QString::fromLatin1(rng.pick(kOptionNames)) + u'='
                                                  + QString::fromLatin1(rng.pick(kValues)));
            break;
        case 7: // a value replaced by a word of another option
            if (size > 0)
                args[at] = QString::fromLatin1(rng.pick(kValues));
            break;
        default: // cut short
            args = args.mid(0, at);
            break;
        }
    }
    return args;
}

bool sameOptions(const ListadosOptions& a, const ListadosOptions& b)
{
    return a.baseDatos == b.baseDatos && a.usuario == b.usuario && a.tienda == b.tienda
           && a.fechaTrabajo == b.fechaTrabajo && a.listado == b.listado && a.operador == b.operador
           && a.desde == b.desde && a.hasta == b.hasta && a.tiendas == b.tiendas && a.iva == b.iva && a.tipo == b.tipo
           && a.familia == b.familia && a.totalesDia == b.totalesDia && a.totalesMes == b.totalesMes
           && a.informeGrupos == b.informeGrupos && a.informeTarjetas == b.informeTarjetas
           && a.detalleEncargos == b.detalleEncargos && a.salida == b.salida && a.ayuda == b.ayuda;
}

// The options of a line that read, each as one "--name=value" argument.
QStringList joinedOptions(const QStringList& args)
{
    QStringList options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--help") || args[i] == QLatin1String("-h") || args[i].contains(u'=')) {
            options << args[i];
        }
        else {
            options << args[i] + u'=' + args[i + 1];
            ++i;
        }
    }
    return options;
}

QString shown(const QStringList& args)
{
    QString out;
    for (const QString& a : args)
        out += u'«' + (a.size() > 60 ? a.left(60) + QStringLiteral("…(%1)").arg(a.size()) : a) + QStringLiteral("» ");
    return out;
}

// What a line that reads must hold: the required values, and no option outside its listing.
QString brokenRule(const ListadosOptions& o)
{
    if (o.ayuda)
        return {};
    if (o.baseDatos.isEmpty())
        return QStringLiteral("no database");
    static const QStringList formats = {"pdf", "xlsx", "csv", "txt", "xml", "png"};
    if (!formats.contains(QFileInfo(o.salida).suffix().toLower()))
        return QStringLiteral("output of an unknown format");
    if (o.usuario <= 0 || (o.tienda != -1 && o.tienda <= 0))
        return QStringLiteral("user or store not positive");
    if (o.tiendas && (std::any_of(o.tiendas->begin(), o.tiendas->end(), [](int id) { return id <= 0; })
                      || QSet<int>(o.tiendas->begin(), o.tiendas->end()).size() != o.tiendas->size()))
        return QStringLiteral("a store list with a repeated or non-positive store");
    if (o.hasta && o.operador != QLatin1String("...Entre..."))
        return QStringLiteral("end date without «entre»");
    if (o.desde && o.operador == QLatin1String("Todos/as"))
        return QStringLiteral("a date with «todas»");
    if ((o.tipo || o.familia) && o.listado != Listado::Diario)
        return QStringLiteral("a journal option on another listing");
    if ((o.totalesDia || o.totalesMes || o.informeGrupos || o.informeTarjetas || o.detalleEncargos)
        && o.listado != Listado::Hoja)
        return QStringLiteral("a cash-sheet option on another listing");
    if (o.iva && o.listado != Listado::Hoja && o.listado != Listado::Diario)
        return QStringLiteral("a VAT basis on a listing without one");
    if ((o.desde && o.desde->isZero()) || (o.hasta && o.hasta->isZero()))
        return QStringLiteral("an empty date");
    return {};
}

TEST(ListadosOptionsFuzz, EveryLineReadsByTheRulesOrIsRefusedInSpanish)
{
    Rng rng(31052013);
    const int lines = lumetra::fuzz::budget(200000);
    int failures = 0, accepted = 0, refused = 0;
    const auto fail = [&](const QStringList& args, const QString& why) {
        if (++failures <= 10)
            ADD_FAILURE() << why.toStdString() << ": " << shown(args).toStdString();
    };
    // Words every refusal uses: the user reads them in Spanish.
    static const QRegularExpression spanish(
        QStringLiteral("opción|argumento|necesita|no admite|debe terminar|no se aplica|solo se usa|no se usa"));
    for (int n = 0; n < lines && failures <= 10; ++n) {
        const QStringList args = mutate(rng, rng.pick(kValidLines));
        std::optional<ListadosOptions> read;
        try {
            read = ListadosOptions::parse(args);
        } catch (const OptionError& e) {
            ++refused;
            const QString message = e.message();
            if (message.isEmpty() || QString::fromUtf8(message.toUtf8()) != message || !spanish.match(message).hasMatch())
                fail(args, QStringLiteral("refused with «%1»").arg(message));
            continue;
        } catch (const std::exception& e) {
            fail(args, QStringLiteral("threw something else: %1").arg(QString::fromUtf8(e.what())));
            continue;
        }
        ++accepted;
        if (const QString broken = brokenRule(*read); !broken.isEmpty()) {
            fail(args, QStringLiteral("accepted with %1").arg(broken));
            continue;
        }
        QStringList joined = joinedOptions(args);
        for (qsizetype i = joined.size() - 1; i > 0; --i)
            joined.swapItemsAt(i, rng.below(int(i + 1)));
        try {
            if (!sameOptions(ListadosOptions::parse(joined), *read))
                fail(args, QStringLiteral("reads otherwise as %1").arg(shown(joined)));
        } catch (const OptionError& e) {
            fail(args, QStringLiteral("refused as %1: %2").arg(shown(joined), e.message()));
        }
    }
    EXPECT_EQ(failures, 0);
    // The mutations reach both outcomes in numbers; otherwise the test tries nothing.
    EXPECT_GT(accepted, lines / 50);
    EXPECT_GT(refused, lines / 2);
}

} // namespace

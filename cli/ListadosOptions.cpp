#include "ListadosOptions.h"

#include "platform/db/Database.h"
#include "platform/db/DatabaseError.h"
#include "platform/report/ReportExporter.h"

#include <QDate>
#include <QMap>
#include <QRegularExpression>

namespace lumetra {

namespace {

struct Word {
    const char* word;
    int value;
};

constexpr Word kListados[] = {{"hoja", int(ListadosOptions::Listado::Hoja)},
                              {"diario", int(ListadosOptions::Listado::Diario)},
                              {"grupos", int(ListadosOptions::Listado::Grupos)},
                              {"tarjetas", int(ListadosOptions::Listado::Tarjetas)}};
constexpr Word kIva[] = {{"cobro", 0}, {"encargo", 1}, {"caja", 2}};
constexpr Word kTipos[] = {{"resumido", 0}, {"detallado", 1}, {"dias-hoja", 2}, {"dias", 3}};
constexpr Word kSiNo[] = {{"si", 1}, {"no", 0}};

// The window compares operator texts exactly, so these are its own texts.
struct Operador {
    const char* word;
    const char* texto;
};
constexpr Operador kOperadores[] = {{"igual", "Igual a..."},   {"distinto", "Distinto de..."},
                                    {"mayor", "Mayor que..."}, {"menor", "Menor que..."},
                                    {"entre", "...Entre..."},  {"todas", "Todos/as"}};

// Which listings' pages have the control an option sets; the others take every listing.
using Listado = ListadosOptions::Listado;
struct Alcance {
    const char* option;
    QList<Listado> listados;
};
const Alcance kAlcances[] = {
    {"iva", {Listado::Hoja, Listado::Diario}},
    {"tipo", {Listado::Diario}},
    {"familia", {Listado::Diario}},
    {"totales-dia", {Listado::Hoja}},
    {"totales-mes", {Listado::Hoja}},
    {"informe-grupos", {Listado::Hoja}},
    {"informe-tarjetas", {Listado::Hoja}},
    {"detalle-encargos", {Listado::Hoja}},
};

const QStringList& knownOptions()
{
    static const QStringList names = {
        QStringLiteral("db"),          QStringLiteral("usuario-bd"),     QStringLiteral("clave-bd"),
        QStringLiteral("usuario"),     QStringLiteral("tienda"),
        QStringLiteral("fecha-trabajo"), QStringLiteral("listado"),      QStringLiteral("fecha"),
        QStringLiteral("desde"),       QStringLiteral("hasta"),          QStringLiteral("tiendas"),
        QStringLiteral("iva"),         QStringLiteral("tipo"),           QStringLiteral("familia"),
        QStringLiteral("totales-dia"), QStringLiteral("totales-mes"),    QStringLiteral("informe-grupos"),
        QStringLiteral("informe-tarjetas"), QStringLiteral("detalle-encargos"), QStringLiteral("salida")};
    return names;
}

template <size_t N> int word(const QString& option, const QString& value, const Word (&words)[N])
{
    QStringList allowed;
    for (const Word& w : words) {
        if (value == QLatin1String(w.word))
            return w.value;
        allowed << QString::fromLatin1(w.word);
    }
    throw OptionError(QStringLiteral("--%1 no admite «%2»; use %3").arg(option, value, allowed.join(QLatin1Char('|'))));
}

int positive(const QString& option, const QString& value)
{
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || n <= 0)
        throw OptionError(QStringLiteral("--%1 necesita un número entero positivo, no «%2»").arg(option, value));
    return n;
}

DateTime date(const QString& option, const QString& value)
{
    static const QRegularExpression shape(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const QRegularExpressionMatch m = shape.match(value);
    const QDate d = m.hasMatch() ? QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt()) : QDate();
    if (!d.isValid())
        throw OptionError(QStringLiteral("--%1 necesita una fecha dd/mm/aaaa válida, no «%2»").arg(option, value));
    // The day before is the empty date, and earlier ones no date the shop data can hold.
    if (DateTime::fromDate(d) < DateTime::earliest())
        throw OptionError(QStringLiteral("--%1 necesita una fecha a partir del 31/12/1899, no «%2»").arg(option, value));
    return DateTime::fromDate(d);
}

QList<int> stores(const QString& value)
{
    if (value == QLatin1String("todas"))
        return {};
    QList<int> ids;
    for (const QString& part : value.split(QLatin1Char(','))) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (!ok || id <= 0)
            throw OptionError(QStringLiteral("--tiendas necesita «todas» o identificadores de tienda separados por comas, no «%1»").arg(value));
        if (!ids.contains(id))
            ids << id;
    }
    return ids;
}

QMap<QString, QString> read(const QStringList& arguments, bool& ayuda)
{
    QMap<QString, QString> values;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            ayuda = true;
            continue;
        }
        if (!arg.startsWith(QLatin1String("--")) || arg.size() == 2)
            throw OptionError(QStringLiteral("argumento inesperado «%1»").arg(arg));
        QString name = arg.mid(2);
        QString value;
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        if (!knownOptions().contains(name))
            throw OptionError(QStringLiteral("opción desconocida «--%1»").arg(name));
        if (equals < 0) {
            // The next argument is the value unless it is another option.
            if (i + 1 >= arguments.size() || arguments.at(i + 1).startsWith(QLatin1String("--")))
                throw OptionError(QStringLiteral("la opción --%1 necesita un valor").arg(name));
            value = arguments.at(++i);
        }
        if (values.contains(name))
            throw OptionError(QStringLiteral("la opción --%1 aparece más de una vez").arg(name));
        values.insert(name, value);
    }
    return values;
}

} // namespace

QString ListadosOptions::listadoWord(Listado listado)
{
    for (const Word& w : kListados)
        if (w.value == int(listado))
            return QString::fromLatin1(w.word);
    return {};
}

ListadosOptions ListadosOptions::parse(const QStringList& arguments)
{
    ListadosOptions o;
    const QMap<QString, QString> values = read(arguments, o.ayuda);
    if (o.ayuda)
        return o;
    for (const char* required : {"db", "listado", "salida"})
        if (!values.contains(QLatin1String(required)))
            throw OptionError(QStringLiteral("falta la opción --%1").arg(QLatin1String(required)));

    const auto has = [&](const char* name) { return values.contains(QLatin1String(name)); };
    const auto value = [&](const char* name) { return values.value(QLatin1String(name)); };
    const auto siNo = [&](const char* name) -> std::optional<bool> {
        if (!has(name))
            return std::nullopt;
        return word(QLatin1String(name), value(name), kSiNo) != 0;
    };

    o.baseDatos = value("db");
    if (o.baseDatos.isEmpty())
        throw OptionError(QStringLiteral("--db necesita la ruta de la base de datos"));
    try {
        DatabaseLocation::parse(o.baseDatos);
    } catch (const DatabaseError& e) {
        throw OptionError(QStringLiteral("--db: %1").arg(e.message()));
    }
    o.listado = Listado(word(QStringLiteral("listado"), value("listado"), kListados));
    if (has("usuario-bd"))
        o.usuarioBD = value("usuario-bd");
    if (has("clave-bd"))
        o.claveBD = value("clave-bd");
    if (has("usuario"))
        o.usuario = positive(QStringLiteral("usuario"), value("usuario"));
    if (has("tienda"))
        o.tienda = positive(QStringLiteral("tienda"), value("tienda"));
    if (has("fecha-trabajo"))
        o.fechaTrabajo = date(QStringLiteral("fecha-trabajo"), value("fecha-trabajo"));
    if (has("fecha")) {
        const QString w = value("fecha");
        for (const Operador& op : kOperadores)
            if (w == QLatin1String(op.word))
                o.operador = QString::fromUtf8(op.texto);
        if (o.operador.isEmpty())
            throw OptionError(QStringLiteral("--fecha no admite «%1»; use igual|distinto|mayor|menor|entre|todas").arg(w));
    }
    if (has("desde"))
        o.desde = date(QStringLiteral("desde"), value("desde"));
    if (has("hasta"))
        o.hasta = date(QStringLiteral("hasta"), value("hasta"));
    if (has("tiendas"))
        o.tiendas = stores(value("tiendas"));
    if (has("iva"))
        o.iva = word(QStringLiteral("iva"), value("iva"), kIva);
    if (has("tipo"))
        o.tipo = word(QStringLiteral("tipo"), value("tipo"), kTipos);
    o.familia = siNo("familia");
    o.totalesDia = siNo("totales-dia");
    o.totalesMes = siNo("totales-mes");
    o.informeGrupos = siNo("informe-grupos");
    o.informeTarjetas = siNo("informe-tarjetas");
    o.detalleEncargos = siNo("detalle-encargos");
    o.salida = value("salida");
    if (!ReportExporter::formatOf(o.salida))
        throw OptionError(QStringLiteral("--salida debe terminar en .pdf, .xlsx, .csv, .txt, .xml o .png, no «%1»").arg(o.salida));

    for (const Alcance& alcance : kAlcances) {
        if (has(alcance.option) && !alcance.listados.contains(o.listado)) {
            QStringList words;
            for (Listado l : alcance.listados)
                words << listadoWord(l);
            throw OptionError(QStringLiteral("--%1 no se aplica al listado «%2» (solo a: %3)")
                                  .arg(QLatin1String(alcance.option), listadoWord(o.listado), words.join(QStringLiteral(", "))));
        }
    }
    // The end date is shown only for "entre"; with "todas" no date is used at all.
    if (o.hasta && o.operador != QLatin1String("...Entre..."))
        throw OptionError(QStringLiteral("--hasta solo se usa con --fecha entre"));
    if (o.desde && o.operador == QLatin1String("Todos/as"))
        throw OptionError(QStringLiteral("--desde no se usa con --fecha todas"));
    return o;
}

QString ListadosOptions::usage()
{
    return QStringLiteral(
        "Uso: lumetra-listados --db RUTA --listado hoja|diario|grupos|tarjetas --salida FICHERO [opciones]\n"
        "\n"
        "Imprime un listado del módulo de Hoja de Caja sin pantalla: prepara la ventana de listados,\n"
        "toma sus condiciones con las de las opciones, imprime y escribe el listado en un fichero.\n"
        "Las opciones que no se dan conservan el valor que pone la ventana (fecha de trabajo,\n"
        "permisos del usuario, tienda actual, cálculo de I.V.A de la empresa).\n"
        "\n"
        "Sesión:\n"
        "  --db RUTA                  base de datos (ruta, o servidor[/puerto]:ruta)\n"
        "  --usuario-bd NOMBRE        usuario de la base de datos (por defecto ISC_USER, o SYSDBA)\n"
        "  --clave-bd CLAVE           su clave (por defecto ISC_PASSWORD, o la de Firebird por\n"
        "                             defecto); mejor en ISC_PASSWORD, que otros usuarios del\n"
        "                             equipo no ven; el motor embebido no comprueba ninguna de las dos\n"
        "  --usuario ID               usuario (1 por defecto)\n"
        "  --tienda ID                tienda actual (por defecto la del usuario)\n"
        "  --fecha-trabajo dd/mm/aaaa fecha de trabajo (hoy por defecto)\n"
        "\n"
        "Listado y condiciones:\n"
        "  --listado hoja|diario|grupos|tarjetas\n"
        "                             hoja de caja, diario de I.V.A, informe por grupos o por tarjetas\n"
        "  --fecha igual|distinto|mayor|menor|entre|todas\n"
        "                             operador de la fecha\n"
        "  --desde dd/mm/aaaa         fecha (la inicial con «entre»)\n"
        "  --hasta dd/mm/aaaa         fecha final (solo con --fecha entre)\n"
        "  --tiendas todas|ID[,ID...] tiendas del listado\n"
        "  --iva cobro|encargo|caja   cálculo del I.V.A por fecha de cobro, de encargo o de caja\n"
        "                             (hoja y diario)\n"
        "  --tipo resumido|detallado|dias-hoja|dias\n"
        "                             tipo de diario: resumido, detallado, resumido por días con cada\n"
        "                             día en una hoja, resumido por días (diario)\n"
        "  --familia si|no            descripción de la familia en lugar de la del artículo (diario)\n"
        "  --totales-dia si|no        totales del día (hoja)\n"
        "  --totales-mes si|no        totales mensuales (hoja)\n"
        "  --informe-grupos si|no     informe por grupos después de la hoja (hoja)\n"
        "  --informe-tarjetas si|no   informe por tarjetas después de la hoja (hoja)\n"
        "  --detalle-encargos si|no   detalle de los encargos (hoja)\n"
        "\n"
        "Salida:\n"
        "  --salida FICHERO           .pdf, .xlsx, .csv, .txt, .xml o .png según la extensión; los\n"
        "                             informes que la hoja imprime después van a FICHERO con «-grupos»\n"
        "                             o «-tarjetas» antes de la extensión\n"
        "  --help                     esta ayuda\n"
        "\n"
        "Estado de salida: 0 listado escrito; 1 fallo (base de datos, fichero, error, listado no\n"
        "disponible); 2 condiciones u opciones no válidas; 3 no hay operaciones en las fechas;\n"
        "143 o 130 interrumpido por SIGTERM o Ctrl-C (SIGINT): no se escribe ningún fichero y los que\n"
        "ya había quedan como estaban.\n");
}

} // namespace lumetra

// listados: every listing of the module, end to end into PDF through lumetra-listados (one
// process per run, so that each run starts cold and its peak memory is its own), over a month
// (June 2013) and a whole year (1 May 2013 to 30 April 2014) of the benchmark database, all
// stores. For each listing it prints the best time of N runs, the pages and the peak memory of
// both ranges, and the year/month cost ratio per printed day, and checks the year against the
// listing's goal.
//
// The ratio leaves out what a listing costs whatever its range: starting the program, opening the
// session, preparing its queries, setting up the report and its PDF fonts. That is measured as the
// same listing over one day (the month's first), and the ratio compares the cost of each further
// day: (year - day) / 364 against (month - day) / 29. 1.00 means that a day costs the same inside
// a year as inside a month; the goal is within 0.75-1.25.
//
// lumetra-bench listados [--db PATH] [--veces N] [--solo NOMBRE[,NOMBRE...]]
// Exit status 0 when every goal is met, 1 when one is not, 2 for bad options.
#include "BenchDatabase.h"
#include "Benchmarks.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace lumetra::bench {

namespace {

struct Listing {
    QString name;
    QString title;
    QStringList options;
    double goalSeconds;   // for the year
    double goalMiB;       // for the year; 0 when the listing has none
};

const std::vector<Listing>& listings()
{
    const QStringList sheet{QStringLiteral("--listado"), QStringLiteral("hoja"), QStringLiteral("--informe-grupos"),
                            QStringLiteral("no"), QStringLiteral("--informe-tarjetas"), QStringLiteral("no")};
    const auto journal = [](const char* basis, const char* type) {
        return QStringList{QStringLiteral("--listado"), QStringLiteral("diario"), QStringLiteral("--iva"),
                           QLatin1String(basis), QStringLiteral("--tipo"), QLatin1String(type)};
    };
    static const std::vector<Listing> all{
        {QStringLiteral("hoja-cobro"), QStringLiteral("hoja de caja, I.V.A por fecha de cobro"),
         sheet + QStringList{QStringLiteral("--iva"), QStringLiteral("cobro")}, 12, 400},
        {QStringLiteral("hoja-encargo"), QStringLiteral("hoja de caja, I.V.A por fecha de encargo"),
         sheet + QStringList{QStringLiteral("--iva"), QStringLiteral("encargo")}, 12, 400},
        {QStringLiteral("hoja-caja"), QStringLiteral("hoja de caja, I.V.A por fecha de caja"),
         sheet + QStringList{QStringLiteral("--iva"), QStringLiteral("caja")}, 12, 400},
        {QStringLiteral("diario-caja-resumido"), QStringLiteral("diario por fecha de caja, resumido"), journal("caja", "resumido"), 3, 0},
        {QStringLiteral("diario-caja-detallado"), QStringLiteral("diario por fecha de caja, detallado"), journal("caja", "detallado"), 8, 0},
        {QStringLiteral("diario-cobro-detallado"), QStringLiteral("diario por fecha de cobro, detallado"), journal("cobro", "detallado"), 4, 0},
        {QStringLiteral("diario-encargo-detallado"), QStringLiteral("diario por fecha de encargo, detallado"), journal("encargo", "detallado"), 4, 0},
        {QStringLiteral("grupos"), QStringLiteral("informe por grupos"), {QStringLiteral("--listado"), QStringLiteral("grupos")}, 5, 0},
        {QStringLiteral("tarjetas"), QStringLiteral("informe por tarjetas"), {QStringLiteral("--listado"), QStringLiteral("tarjetas")}, 1, 0},
    };
    return all;
}

struct Run {
    int status = -1;
    double seconds = 0;
    double peakMiB = 0;
};

// Runs the program to the end, its output to `log`; the peak memory is that of this child alone.
Run runProgram(const QString& program, const QStringList& args, const QString& log)
{
    std::vector<QByteArray> storage{program.toLocal8Bit()};
    for (const QString& a : args)
        storage.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray logPath = log.toLocal8Bit();
    posix_spawn_file_actions_addopen(&actions, 1, logPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("no se pudo ejecutar " + program.toStdString());
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("wait4 falló");
    }
    Run r;
    r.seconds = timer.nsecsElapsed() / 1e9;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.peakMiB = usage.ru_maxrss / 1024.0;
    return r;
}

int countPages(const QString& pdf)
{
    QFile f(pdf);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray data = f.readAll();
    int pages = 0;
    for (qsizetype at = data.indexOf("/Type /Page\n"); at >= 0; at = data.indexOf("/Type /Page\n", at + 1))
        ++pages;
    return pages;
}

struct Range {
    QString name;
    QDate from, to;
    int days() const { return int(from.daysTo(to)) + 1; }
};

struct Measure {
    double seconds = std::numeric_limits<double>::infinity();
    double peakMiB = 0;
    int pages = 0;
};

QString fmt(double v, int decimals = 2)
{
    return QString::number(v, 'f', decimals);
}

} // namespace

int listados(const QStringList& args)
{
    QTextStream out(stdout);
    QString path;
    int times = 3;
    QStringList only;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--db") && i + 1 < args.size())
            path = args[++i];
        else if (args[i] == QLatin1String("--veces") && i + 1 < args.size())
            times = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--solo") && i + 1 < args.size())
            only = args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
        else {
            QTextStream(stderr) << "Uso: lumetra-bench listados [--db RUTA] [--veces N] [--solo NOMBRE[,NOMBRE...]]\n";
            return 2;
        }
    }
    for (const QString& name : only) {
        if (std::none_of(listings().begin(), listings().end(), [&](const Listing& l) { return l.name == name; })) {
            QTextStream err(stderr);
            err << "Listado desconocido «" << name << "». Listados:";
            for (const Listing& l : listings())
                err << " " << l.name;
            err << "\n";
            return 2;
        }
    }
    try {
        if (path.isEmpty())
            path = ensureBenchDatabase(out);
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/lumetra-listados");
        QTemporaryDir work;
        if (!work.isValid())
            throw std::runtime_error("no se pudo crear una carpeta temporal");
        const QString log = work.filePath(QStringLiteral("salida.txt"));
        const auto fail = [&](const QString& what, const Run& r) {
            QFile f(log);
            f.open(QIODevice::ReadOnly);
            throw std::runtime_error(QStringLiteral("%1: estado %2\n%3").arg(what).arg(r.status).arg(QString::fromLocal8Bit(f.readAll())).toStdString());
        };
        const auto session = [&](const QDate& workDate) {
            return QStringList{QStringLiteral("--db"), path, QStringLiteral("--fecha-trabajo"), workDate.toString(QStringLiteral("dd/MM/yyyy")),
                               QStringLiteral("--tiendas"), QStringLiteral("todas")};
        };

        // The fixed cost: a listing of a day without operations (status 3, nothing written).
        double fixed = std::numeric_limits<double>::infinity();
        for (int t = 0; t < times; ++t) {
            const Run r = runProgram(program, session(QDate(2000, 1, 3)) + QStringList{QStringLiteral("--listado"), QStringLiteral("tarjetas"),
                                         QStringLiteral("--fecha"), QStringLiteral("igual"), QStringLiteral("--desde"), QStringLiteral("03/01/2000"),
                                         QStringLiteral("--salida"), work.filePath(QStringLiteral("vacio.pdf"))}, log);
            if (r.status != 3)
                fail(QStringLiteral("el listado de un día sin operaciones"), r);
            fixed = std::min(fixed, r.seconds);
        }
        out << "Base de datos: " << path << "\n";
        out << "Coste fijo de una ejecución (arranque y sesión): " << fmt(fixed) << " s; mejor de " << times << " ejecuciones\n\n";
        out << QStringLiteral("%1 %2 %3 %4 | %5 %6 %7 | %8 %9  %10\n")
                   .arg(QStringLiteral("listado"), -26).arg(QStringLiteral("mes s"), 7).arg(QStringLiteral("págs"), 6).arg(QStringLiteral("MiB"), 6)
                   .arg(QStringLiteral("año s"), 7).arg(QStringLiteral("págs"), 6).arg(QStringLiteral("MiB"), 6)
                   .arg(QStringLiteral("día s"), 6).arg(QStringLiteral("día año/mes"), 11).arg(QStringLiteral("objetivo del año"));
        out.flush();

        const Range ranges[] = {{QStringLiteral("mes"), QDate(2013, 6, 1), QDate(2013, 6, 30)},
                                {QStringLiteral("anio"), QDate(2013, 5, 1), QDate(2014, 4, 30)},
                                {QStringLiteral("dia"), QDate(2013, 6, 1), QDate(2013, 6, 1)}};
        bool allMet = true;
        for (const Listing& listing : listings()) {
            if (!only.isEmpty() && !only.contains(listing.name))
                continue;
            Measure m[3];
            for (int k = 0; k < 3; ++k) {
                const Range& range = ranges[k];
                const QString pdf = work.filePath(listing.name + QLatin1Char('-') + range.name + QStringLiteral(".pdf"));
                for (int t = 0; t < times; ++t) {
                    const Run r = runProgram(program, session(range.to) + listing.options
                                                 + QStringList{QStringLiteral("--fecha"), QStringLiteral("entre"),
                                                               QStringLiteral("--desde"), range.from.toString(QStringLiteral("dd/MM/yyyy")),
                                                               QStringLiteral("--hasta"), range.to.toString(QStringLiteral("dd/MM/yyyy")),
                                                               QStringLiteral("--salida"), pdf}, log);
                    if (r.status != 0)
                        fail(listing.name + QLatin1Char(' ') + range.name, r);
                    m[k].seconds = std::min(m[k].seconds, r.seconds);
                    m[k].peakMiB = std::max(m[k].peakMiB, r.peakMiB);
                }
                m[k].pages = countPages(pdf);
                QFile::remove(pdf);
            }
            // A day measured slower than the month (noise) would make the month look free.
            const double fixedHere = std::min(m[2].seconds, m[0].seconds * 0.9);
            const double perDayMonth = (m[0].seconds - fixedHere) / (ranges[0].days() - 1);
            const double perDayYear = std::max(1e-6, m[1].seconds - fixedHere) / (ranges[1].days() - 1);
            const double ratio = perDayYear / perDayMonth;
            const bool timeMet = m[1].seconds <= listing.goalSeconds;
            const bool memoryMet = listing.goalMiB <= 0 || m[1].peakMiB < listing.goalMiB;
            const bool flat = ratio >= 0.75 && ratio <= 1.25;
            allMet = allMet && timeMet && memoryMet && flat;
            QString goal = QStringLiteral("≤ %1 s").arg(listing.goalSeconds) + (listing.goalMiB > 0 ? QStringLiteral(", < %1 MiB").arg(listing.goalMiB) : QString());
            goal += timeMet && memoryMet && flat ? QStringLiteral(": cumple") : QStringLiteral(": NO CUMPLE");
            if (!flat)
                goal += QStringLiteral(" (coste por día no plano)");
            out << QStringLiteral("%1 %2 %3 %4 | %5 %6 %7 | %8 %9  %10\n")
                       .arg(listing.name, -26).arg(fmt(m[0].seconds), 7).arg(m[0].pages, 6).arg(fmt(m[0].peakMiB, 0), 6)
                       .arg(fmt(m[1].seconds), 7).arg(m[1].pages, 6).arg(fmt(m[1].peakMiB, 0), 6)
                       .arg(fmt(m[2].seconds), 6).arg(fmt(ratio), 11).arg(goal);
            out.flush();
        }
        return allMet ? 0 : 1;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "lumetra-bench listados: " << QString::fromUtf8(e.what()) << "\n";
        return 1;
    }
}

} // namespace lumetra::bench

// hoja-datos: how long the listing window takes to fill the cash sheet's in-memory table
// (memHojaCaja) for one month and for a whole year of the benchmark database, all stores,
// against the same SQL texts run through a bare QSqlQuery loop in the same run (the masters, and
// the collections' lines re-executed per collection as the data module does; the lines of the
// orders of the day are never read by the data module, so the bare loop does not run them either).
// Prints both times, their ratio (target <= 1.3) and the peak memory (target < 1 GiB). A third
// time, the same walk through the platform's Dataset without building rows, tells the cost of the
// datasets apart from the cost of the rows.
//
// lumetra-bench hoja-datos [--db PATH] [--repeat N]
// Without --db the benchmark database is used (BenchDatabase.h).
#include "Benchmarks.h"
#include "BenchDatabase.h"

#include "cashsheet/dmHojaCaja.h"
#include "hostapi/HostSession.h"
#include "platform/db/Database.h"
#include "platform/db/Dataset.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"
#include "platform/ui/Interaction.h"
#include "window/frmHojaCaja.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <memory>

namespace lumetra::bench {

namespace {

// Nothing shown; error windows and messages are counted so that a failed fill is not timed as a
// fast one.
class SilentInteraction : public Interaction {
public:
    void message(QWidget*, const QString& title, const QString& text, Icon) override { problems << title + QStringLiteral(": ") + text; }
    int execDialog(QDialog&, const QString& summary) override
    {
        problems << summary;
        return 1;
    }
    void showWindow(QWidget&) override {}
    void processEvents() override {}
    void preview(const ReportDocument&, int, QWidget*, const QString&) override {}
    void print(const ReportDocument&, int, const QString&) override {}
    QStringList problems;
};

qint64 statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Sets the peak to the current size, so that building the database does not count.
void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

struct Texts {
    QString caja, cobros, lineas, encargos;
};

struct BareCounts {
    qint64 masters = 0;
    qint64 detailRuns = 0;
    qint64 detailRows = 0;
};

double sink = 0;

void touch(const QSqlQuery& q, int columns)
{
    for (int i = 0; i < columns; ++i) {
        const QVariant v = q.value(i);
        sink += v.isNull() ? 0 : 1;
    }
}

void readAll(const QSqlDatabase& conn, const QString& sql, BareCounts& c)
{
    QSqlQuery q(conn);
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw std::runtime_error("consulta fallida en el bucle directo");
    const int columns = q.record().count();
    while (q.next()) {
        touch(q, columns);
        ++c.masters;
    }
}

double bareLoop(const QSqlDatabase& conn, const Texts& t, BareCounts& c)
{
    QElapsedTimer timer;
    timer.start();
    readAll(conn, t.caja, c);
    {
        QSqlQuery master(conn);
        master.setForwardOnly(true);
        QSqlQuery detail(conn);
        detail.setForwardOnly(true);
        if (!master.exec(t.cobros) || !detail.prepare(t.lineas))
            throw std::runtime_error("consulta fallida en el bucle directo");
        const int columns = master.record().count();
        const int id = master.record().indexOf(QStringLiteral("ID_MVENTA"));
        // Described once: the driver reads system tables for every record() call.
        int detailColumns = -1;
        while (master.next()) {
            touch(master, columns);
            ++c.masters;
            detail.bindValue(QStringLiteral(":ID_MVENTA"), master.value(id));
            if (!detail.exec())
                throw std::runtime_error("detalle fallido en el bucle directo");
            ++c.detailRuns;
            if (detailColumns < 0)
                detailColumns = detail.record().count();
            while (detail.next()) {
                touch(detail, detailColumns);
                ++c.detailRows;
            }
        }
    }
    readAll(conn, t.encargos, c);
    return timer.nsecsElapsed() / 1e9;
}

void walk(const Dataset& ds)
{
    for (int i = 0; i < ds.fieldCount(); ++i)
        sink += ds.value(i).isNull() ? 0 : 1;
}

// The same texts and detail executions through Dataset, reading every column, building nothing.
double datasetWalk(Database* db, const Texts& t)
{
    QElapsedTimer timer;
    timer.start();
    Dataset caja, maestro, detalle;
    for (Dataset* ds : {&caja, &maestro, &detalle})
        ds->setDatabase(db);
    detalle.setMaster(&maestro);
    caja.setSql(t.caja);
    caja.open();
    for (caja.first(); !caja.eof(); caja.next())
        walk(caja);
    maestro.setSql(t.cobros);
    detalle.setSql(t.lineas);
    maestro.open();
    detalle.open();
    for (maestro.first(); !maestro.eof(); maestro.next()) {
        walk(maestro);
        for (detalle.first(); !detalle.eof(); detalle.next())
            walk(detalle);
    }
    detalle.close();
    maestro.close();
    maestro.setSql(t.encargos);
    maestro.open();
    for (maestro.first(); !maestro.eof(); maestro.next())
        walk(maestro);
    return timer.nsecsElapsed() / 1e9;
}

void setPeriod(TfrmHojaCaja& w, const QDate& from, const QDate& to)
{
    w.cbxFechaCaja->setCurrentText(QStringLiteral("...Entre..."));
    w.edtFechaInicioCaja->setValue(DateTime::fromDate(from));
    w.edtFechaFinCaja->setValue(DateTime::fromDate(to));
    for (int i = 0; i < w.cbxTiendaCaja->count(); ++i)
        w.cbxTiendaCaja->setChecked(i, i == 0);
    w.cbxCajaIva->setCurrentIndex(0);
    w.chxInformeTarjetas->setChecked(false);
    w.chxInformeGrupos->setChecked(false);
}

// The texts the window builds for the period, read back after each of its steps. This also runs
// every query once, which warms the database cache before anything is timed.
Texts readTexts(TfrmHojaCaja& w)
{
    Texts t;
    const SolicitudListado solicitud = w.Solicitud(TfrmHojaCaja::ListadoHojaCaja);
    w.GenerarSQLHojaCajaCaja(solicitud);
    t.caja = w.SQLPrincipal;
    w.GenerarSQLHojaCajaVentasEncargos(solicitud);
    t.cobros = w.SQLPrincipal;
    t.lineas = w.SQLDetalle;
    w.GenerarSQLHojaCajaEncargosDia(solicitud);
    t.encargos = w.SQLPrincipal;
    w.DmHojaCaja()->CerrarConsultas();
    w.DmHojaCaja()->memHojaCaja.close();
    w.DmHojaCaja()->memHojaCaja.open();
    return t;
}

} // namespace

int hojaDatos(const QStringList& args)
{
    QTextStream out(stdout);
    QString path;
    int repeat = 3;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--db") && i + 1 < args.size())
            path = args[++i];
        else if (args[i] == QLatin1String("--repeat") && i + 1 < args.size())
            repeat = std::max(1, args[++i].toInt());
        else {
            QTextStream(stderr) << "Uso: lumetra-bench hoja-datos [--db RUTA] [--repeat N]\n";
            return 2;
        }
    }
    try {
        if (path.isEmpty())
            path = ensureBenchDatabase(out);
        SilentInteraction interaction;
        Interaction::install(&interaction);
        const std::unique_ptr<void, void (*)(void*)> uninstall(&interaction, [](void*) { Interaction::install(nullptr); });
        QWidget owner;
        HostOptions options;
        options.baseDatos = path;
        options.fechaTrabajo = DateTime::fromYmd(2013, 6, 15);
        HostSession session(options, &owner);
        // Goes before the session it writes its audit row through.
        const auto w = std::make_unique<TfrmHojaCaja>(&owner);
        w->SetParametros(session.params());
        if (w->CrearObjetos() || w->ConstruirArbol() || w->Etiquetas() || w->Recursos() || w->ValoresIniciales())
            throw std::runtime_error("no se pudo preparar la ventana del listado");
        resetPeak();
        out << "base de datos: " << path << "\n";

        struct Scope {
            const char* name;
            QDate from, to;
        };
        const Scope scopes[] = {{"mes (junio 2013)", QDate(2013, 6, 1), QDate(2013, 6, 30)},
                                {"año (01/05/2013-30/04/2014)", QDate(2013, 5, 1), QDate(2014, 4, 30)}};
        bool ok = true;
        for (const Scope& scope : scopes) {
            setPeriod(*w, scope.from, scope.to);
            const Texts texts = readTexts(*w);
            double best = std::numeric_limits<double>::max();
            double bestBare = best;
            double bestDataset = best;
            int rows = 0;
            BareCounts counts;
            for (int run = 0; run < repeat; ++run) {
                QElapsedTimer timer;
                timer.start();
                const int result = w->GenerarSQLHojaCaja(w->Solicitud(TfrmHojaCaja::ListadoHojaCaja));
                best = std::min(best, timer.nsecsElapsed() / 1e9);
                rows = w->DmHojaCaja()->memHojaCaja.recordCount();
                if (result != 0 || !interaction.problems.isEmpty()) {
                    out << "  la ventana falló (" << result << "): " << interaction.problems.join(QStringLiteral("; ")) << "\n";
                    return 1;
                }
                bestDataset = std::min(bestDataset, datasetWalk(session.params()->BaseDatos, texts));
                counts = BareCounts{};
                bestBare = std::min(bestBare, bareLoop(session.params()->BaseDatos->connection(), texts, counts));
            }
            const double ratio = best / bestBare;
            ok = ok && ratio <= 1.3;
            out << scope.name << ":\n"
                << QStringLiteral("  memHojaCaja: %1 filas; consultas: %2 filas maestras, %3 ejecuciones del detalle (%4 líneas)\n")
                       .arg(rows).arg(counts.masters).arg(counts.detailRuns).arg(counts.detailRows)
                << QStringLiteral("  ventana (GenerarSQLHojaCaja): %1 s\n").arg(best, 0, 'f', 3)
                << QStringLiteral("  QSqlQuery directo:            %1 s\n").arg(bestBare, 0, 'f', 3)
                << QStringLiteral("  (Dataset sin construir filas: %1 s)\n").arg(bestDataset, 0, 'f', 3)
                << QStringLiteral("  relación: %1 (objetivo <= 1.3)%2\n").arg(ratio, 0, 'f', 2).arg(ratio <= 1.3 ? "" : "  SUPERADO");
            out.flush();
        }
        const qint64 peak = statusKiB("VmHWM:");
        ok = ok && peak >= 0 && peak < 1024 * 1024;
        out << QStringLiteral("memoria máxima (VmHWM): %1 MiB (objetivo < 1024 MiB)\n").arg(peak / 1024.0, 0, 'f', 1)
            << QStringLiteral("mejor de %1 repeticiones\n").arg(repeat);
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "hoja-datos: " << e.what() << "\n";
        return 1;
    }
}

} // namespace lumetra::bench

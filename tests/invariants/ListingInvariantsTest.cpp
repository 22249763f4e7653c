// Invariants of the listings over whole demo histories (several seeds, across the September 2012
// VAT change), printed by the real lumetra-listados into CSV and read back: facts that must hold
// whatever the data, so that a fault shows as a class, not as one hand-made case.
#include "platform/db/Database.h"
#include "platform/db/DatabaseFile.h"
#include "support/TestTools.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using namespace lumetra;

namespace {

// The history: 3 stores, 75 days from 1 July 2012; the listings cover a month across the change
// of 1 September 2012, with orders taken before it.
constexpr const char* kHistoria = "01/07/2012";
constexpr const char* kDesde = "16/08/2012";
constexpr const char* kHasta = "15/09/2012";

QTemporaryDir& scratch()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lumetra-invariants-XXXXXX"));
    return dir;
}

// "1.234,56 €" or "-0,40 €" in cents.
long long cents(QString text)
{
    text.remove(QStringLiteral(" €")).remove(QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    EXPECT_TRUE(ok) << text.toStdString();
    return std::llround(value * 100);
}

struct Totales {
    long long base = 0, iva = 0;
    bool operator==(const Totales&) const = default;
};
using PorTipo = QMap<QString, Totales>;   // by the rate's text ("21,00 % IVA")

std::ostream& operator<<(std::ostream& os, const PorTipo& t)
{
    for (auto it = t.begin(); it != t.end(); ++it)
        os << it.key().toStdString() << ": " << it->base << "/" << it->iva << "; ";
    return os;
}

class Historia : public ::testing::TestWithParam<int> {
protected:
    static QString& db(int semilla)
    {
        static QMap<int, QString> made;
        if (!made.contains(semilla)) {
            const QString file = scratch().filePath(QStringLiteral("demo-%1.fdb").arg(semilla));
            test::output(QStringLiteral("lumetra-demodb"), {"create", file, "--tiendas", "3", "--dias", "75", "--desde", kHistoria,
                                                    "--semilla", QString::number(semilla)});
            made.insert(semilla, file);
        }
        return made[semilla];
    }

    // The listing's CSV rows, split on ';' (quotes removed), blank rows left out.
    QList<QStringList> listado(const QStringList& opciones)
    {
        const QString salida = scratch().filePath(QStringLiteral("l%1.csv").arg(++contador_));
        test::output(QStringLiteral("lumetra-listados"),
            QStringList{"--db", db(GetParam()), "--fecha-trabajo", kHasta, "--salida", salida} + opciones);
        QFile f(salida);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << salida.toStdString();
        QList<QStringList> filas;
        for (const QString& linea : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
            QString l = linea.trimmed();
            if (l.isEmpty())
                continue;
            l.remove(QLatin1Char('"'));
            filas << l.split(QLatin1Char(';'));
        }
        return filas;
    }

    QList<QStringList> entre(const QStringList& opciones, const char* desde = kDesde, const char* hasta = kHasta)
    {
        return listado(QStringList{"--fecha", "entre", "--desde", desde, "--hasta", hasta, "--tiendas", "todas"} + opciones);
    }

    // Every "base | rate | VAT" triple of the rows that `cuenta` accepts, summed by rate.
    static PorTipo tipos(const QList<QStringList>& filas, const std::function<bool(const QStringList&)>& cuenta = {})
    {
        static const QRegularExpression tipo(QStringLiteral("^-?[0-9.]+,[0-9]{2} % IVA$"));
        PorTipo t;
        for (const QStringList& f : filas) {
            if (cuenta && !cuenta(f))
                continue;
            for (qsizetype i = 1; i + 1 < f.size(); ++i) {
                if (tipo.match(f[i]).hasMatch()) {
                    t[f[i]].base += cents(f[i - 1]);
                    t[f[i]].iva += cents(f[i + 1]);
                }
            }
        }
        // A rate whose total is nothing does not tell two layouts apart.
        for (auto it = t.begin(); it != t.end();)
            it = it->base == 0 && it->iva == 0 ? t.erase(it) : std::next(it);
        return t;
    }

    // Every row of a query as texts, on a copy of the history's database.
    QList<QStringList> consulta(const QString& sql, int columnas)
    {
        const QString copia = scratch().filePath(QStringLiteral("q%1.fdb").arg(++contador_));
        DatabaseFile::copy(db(GetParam()), copia);
        Database base;
        base.open(copia);
        return test::queryRows(base, sql, columnas);
    }

    // The cents of a query's one amount.
    long long centimos(const QString& sql)
    {
        const QList<QStringList> filas = consulta(sql, 1);
        return filas.isEmpty() ? 0 : filas.first().first().toLongLong();
    }

    int contador_ = 0;
};

// The rows of one day of a cash sheet: from its header to its footer, without the page header
// and footer (page numbers differ between listings).
std::string diaHoja(const QList<QStringList>& filas, const QString& fecha)
{
    static const QRegularExpression pie(QStringLiteral("^[0-9]+$"));
    QStringList dia;
    bool dentro = false;
    for (const QStringList& f : filas) {
        if (f.first().startsWith(QStringLiteral("Hoja de Caja del día ")))
            dentro = f.first() == QStringLiteral("Hoja de Caja del día ") + fecha;
        const bool pagina = (f.contains(QStringLiteral("Ticket")) && f.contains(QStringLiteral("Gastos")))
                            || (f.size() == 2 && pie.match(f.first()).hasMatch());
        if (dentro && !pagina)
            dia << f.join(QLatin1Char(';'));
    }
    return dia.join(QLatin1Char('\n')).toStdString();
}

TEST_P(Historia, ADayOfTheCashSheetPrintsTheSameAloneAsInsideARange)
{
    for (const char* iva : {"cobro", "encargo", "caja"}) {
        SCOPED_TRACE(iva);
        const QList<QStringList> rango = entre({"--listado", "hoja", "--iva", iva, "--totales-dia", "si", "--totales-mes", "si"});
        // Every day of the range by collection date; four of them on the other bases.
        QStringList dias;
        for (const QStringList& f : rango)
            if (f.first().startsWith(QStringLiteral("Hoja de Caja del día ")))
                dias << f.first().mid(21);
        if (QLatin1String(iva) != QLatin1String("cobro"))
            dias = QStringList{dias.first(), dias.at(dias.size() / 3), dias.at(2 * dias.size() / 3), dias.last()};
        EXPECT_GE(dias.size(), 4);
        for (const QString& dia : dias) {
            SCOPED_TRACE(dia.toStdString());
            const QList<QStringList> solo = listado({"--listado", "hoja", "--fecha", "igual", "--desde", dia, "--tiendas", "todas",
                                                     "--iva", iva, "--totales-dia", "si", "--totales-mes", "si"});
            EXPECT_EQ(diaHoja(solo, dia), diaHoja(rango, dia));
        }
    }
}

TEST_P(Historia, EachDaysPaymentColumnsAreTheMoneyCollectedThatDay)
{
    // Cash, cheque and card totals of each day, from the collections themselves.
    QMap<QString, QList<long long>> cobrado;
    for (const QStringList& f : consulta(QStringLiteral(
             "select cast(CO.FECHA as date) DIA, FP.TIPO_PAGO, cast(sum(CO.IMPORTE_M1) * 100 as bigint) CENTIMOS from COBRO CO "
             "join FORMA_PAGO FP on FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO "
             "where FP.TIPO_PAGO between 0 and 2 and cast(CO.FECHA as date) between '2012-08-16' and '2012-09-15' "
             "group by 1, 2"), 3)) {
        QList<long long>& dia = cobrado[f[0]];
        dia.resize(3);
        dia[f[1].toInt()] = f[2].toLongLong();
    }
    ASSERT_FALSE(cobrado.isEmpty());
    QString dia;
    int dias = 0;
    for (const QStringList& f : entre({"--listado", "hoja", "--iva", "cobro"})) {
        if (f.first().startsWith(QStringLiteral("Hoja de Caja del día ")))
            dia = f.first().mid(21);
        if (f.first() != QStringLiteral("Totales....") || f.size() < 4)
            continue;
        SCOPED_TRACE(dia.toStdString());
        const QList<long long> esperado = cobrado.value(dia, QList<long long>(3, 0));
        EXPECT_EQ((QList<long long>{cents(f[1]), cents(f[2]), cents(f[3])}), esperado);
        ++dias;
    }
    EXPECT_GE(dias, 20);
}

TEST_P(Historia, TheFourJournalLayoutsAgreeRateByRate)
{
    for (const char* iva : {"cobro", "caja"}) {
        SCOPED_TRACE(iva);
        const PorTipo resumido = tipos(entre({"--listado", "diario", "--iva", iva, "--tipo", "resumido"}));
        const PorTipo detallado = tipos(entre({"--listado", "diario", "--iva", iva, "--tipo", "detallado"}));
        const PorTipo porHoja = tipos(entre({"--listado", "diario", "--iva", iva, "--tipo", "dias-hoja"}));
        const QList<QStringList> dias = entre({"--listado", "diario", "--iva", iva, "--tipo", "dias"});
        const auto sumario = [](const QStringList& f) { return f.contains(QStringLiteral("B. Imponible")); };
        const PorTipo lineas = tipos(dias, [&](const QStringList& f) { return !sumario(f); });
        const PorTipo tabla = tipos(dias, sumario);
        EXPECT_FALSE(resumido.isEmpty());
        EXPECT_EQ(detallado, resumido);
        EXPECT_EQ(porHoja, resumido);
        EXPECT_EQ(lineas, resumido);
        EXPECT_EQ(tabla, resumido);
        // One line per day and rate: a day's first line names the day, the next ones do not.
        static const QRegularExpression fecha(QStringLiteral("^[0-9]{2}/[0-9]{2}/[0-9]{4}$"));
        QString dia;
        QSet<QString> vistos;
        for (const QStringList& f : dias) {
            if (f.size() != 4 || sumario(f) || !f[2].endsWith(QStringLiteral("% IVA")))
                continue;
            if (fecha.match(f.first()).hasMatch())
                dia = f.first();
            EXPECT_FALSE(vistos.contains(dia + f[2])) << dia.toStdString() << " " << f[2].toStdString();
            vistos.insert(dia + f[2]);
        }
        EXPECT_GT(vistos.size(), 20);
        // A quarter across the change holds both the old and the new general rate.
        EXPECT_TRUE(resumido.contains(QStringLiteral("18,00 % IVA")) && resumido.contains(QStringLiteral("21,00 % IVA"))) << resumido;
    }
}

TEST_P(Historia, ACashSheetDaysCashDateVatIsThatDaysJournal)
{
    // The journal's summary by days: a day's first rate row names the day, the next ones do not.
    static const QRegularExpression fecha(QStringLiteral("^[0-9]{2}/[0-9]{2}/[0-9]{4}$"));
    QMap<QString, QList<QStringList>> diario;
    QString dia;
    for (const QStringList& f : entre({"--listado", "diario", "--iva", "caja", "--tipo", "dias"})) {
        if (f.size() != 4)
            continue;
        if (fecha.match(f.first()).hasMatch())
            dia = f.first();
        if (!dia.isEmpty())
            diario[dia] << f;
    }
    int dias = 0;
    for (const QStringList& f : entre({"--listado", "hoja", "--iva", "caja"})) {
        if (f.first().startsWith(QStringLiteral("Hoja de Caja del día ")))
            dia = f.first().mid(21);
        if (f.first() != QStringLiteral("Totales...."))
            continue;
        SCOPED_TRACE(dia.toStdString());
        EXPECT_EQ(tipos({f}), tipos(diario.value(dia)));
        ++dias;
    }
    EXPECT_GE(dias, 20);
}

TEST_P(Historia, TheCashDateJournalIsTheMoneyCollectedOutsideDeliveryNotes)
{
    long long total = 0;
    for (const Totales& t : tipos(entre({"--listado", "diario", "--iva", "caja", "--tipo", "resumido"})))
        total += t.base + t.iva;
    // Orders count what was collected, except by delivery note; an order settled by delivery note
    // adds nothing on its day. A direct sale counts its lines on the day it was paid.
    const long long encargos = centimos(QStringLiteral(
        "select cast(sum(CO.IMPORTE_M1) * 100 as bigint) from COBRO CO join MVENTA MV on MV.ID_MVENTA = CO.ID_MVENTA "
        "join FORMA_PAGO FP on FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO join FORMA_PAGO FV on FV.ID_FORMA_PAGO = MV.ID_FORMA_PAGO "
        "where MV.TIPO_OPERACION in (1, 2) and FP.TIPO_PAGO <> 3 and cast(CO.FECHA as date) between '2012-08-16' and '2012-09-15' "
        "and not (FV.TIPO_PAGO = 3 and cast(CO.FECHA as date) = cast(MV.FECHA_PAGADO as date))"));
    const long long directas = centimos(QStringLiteral(
        "select cast(sum(DV.BI_BASE_M1 + DV.BI_IVA_M1) * 100 as bigint) from MVENTA MV join DVENTA DV on DV.ID_MVENTA = MV.ID_MVENTA "
        "join FORMA_PAGO FV on FV.ID_FORMA_PAGO = MV.ID_FORMA_PAGO "
        "where MV.TIPO_OPERACION = 0 and FV.TIPO_PAGO <> 3 and cast(MV.FECHA_PAGADO as date) between '2012-08-16' and '2012-09-15'"));
    EXPECT_NE(encargos, 0);
    EXPECT_EQ(total, encargos + directas);
}

TEST_P(Historia, TheCollectionDateJournalCoversTheLinesOfTheSalesCollected)
{
    const PorTipo resumido = tipos(entre({"--listado", "diario", "--iva", "cobro", "--tipo", "resumido"}));
    long long base = 0, iva = 0;
    for (const Totales& t : resumido) {
        base += t.base;
        iva += t.iva;
    }
    const long long lineas = centimos(QStringLiteral(
        "select cast(sum(DV.BI_BASE_M1 + DV.BI_IVA_M1) * 100 as bigint) from MVENTA MV join DVENTA DV on DV.ID_MVENTA = MV.ID_MVENTA "
        "where MV.TIPO_OPERACION in (0, 1, 2) and MV.FECHA_PAGADO < '2079-05-30' "
        "and cast(MV.FECHA_PAGADO as date) between '2012-08-16' and '2012-09-15'"));
    EXPECT_EQ(base + iva, lineas);
}

TEST_P(Historia, TheGroupReportTotalsTheGroupedLines)
{
    long long total = 0;
    for (const QStringList& f : entre({"--listado", "grupos"})) {
        if (!f.first().startsWith(QStringLiteral("Total....")))
            continue;
        for (qsizetype k = 1; k < f.size() && !f[k].isEmpty(); ++k)
            total += cents(f[k]);
    }
    const long long lineas = centimos(QStringLiteral(
        "select cast(sum(DV.BI_BASE_M1 + DV.BI_IVA_M1) * 100 as bigint) from MVENTA MV join DVENTA DV on DV.ID_MVENTA = MV.ID_MVENTA "
        "where MV.TIPO_OPERACION <> 3 and DV.ID_GRUPO <> 0 "
        "and cast(MV.FECHA as date) between '2012-08-16' and '2012-09-15'"));
    EXPECT_NE(total, 0);
    EXPECT_EQ(total, lineas);
}

INSTANTIATE_TEST_SUITE_P(Semillas, Historia, ::testing::Values(1, 2, 3),
                         [](const auto& info) { return "semilla" + std::to_string(info.param); });

} // namespace

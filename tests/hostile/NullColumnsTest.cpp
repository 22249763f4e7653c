// A shop's database may hold NULL in any column that is not a key. Every listing is printed with
// one such column set to NULL in every other row of its table, one column at a time, on a small
// real shop history: each must print (status 0), and where the database itself treats NULL as it
// treats the zero value (the column is read, not compared in a join or a condition), the listing
// must print exactly what it prints with the zero value in those rows: NULL reads as 0, as an
// empty text or as the zero date.
//
// The columns are those the listings' statements and lookups read; a guard test checks that
// every column named in the statements the listings prepare is in the table.
#include "ListingSession.h"

#include "demodb/DemoHistory.h"
#include "demodb/ShopDatabase.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseCalls.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/Dataset.h"
#include "platform/report/ReportExporter.h"
#include "support/TestTools.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <ostream>
#include <memory>
#include <gtest/gtest.h>

using namespace lumetra;
using namespace lumetra::test;

namespace {

// How the database compares a NULL in the column, against the zero value in its place.
enum class Sql {
    Read,      // only read (or summed): the listing must not tell NULL from zero
    Compared,  // in a join, a condition or a GROUP BY: the row drops out or stands apart
};

struct NullColumn {
    const char* table;  // its key, ID_<table>, picks every other row
    const char* column;
    const char* zero;   // what the listings read NULL as, as SQL
    Sql sql = Sql::Read;
};

void PrintTo(const NullColumn& c, std::ostream* os)
{
    *os << c.table << '.' << c.column;
}

constexpr const char* kCero = "0";
constexpr const char* kVacio = "''";
constexpr const char* kFechaCero = "'1899-12-30'";

// Columns compared by SQL: NULL <> 3, NULL IN (0, 1, 2), CAST(NULL AS DATE) != day, joins on NULL
// and NULL groups are all unknown or apart, where the zero value takes part.
const NullColumn kColumns[] = {
    {"MVENTA", "ID_TIENDA", kCero}, {"MVENTA", "FECHA", kFechaCero, Sql::Compared},
    {"MVENTA", "FECHA_PAGADO", kFechaCero, Sql::Compared}, {"MVENTA", "TIPO_OPERACION", kCero, Sql::Compared},
    {"MVENTA", "N_TALON", kCero}, {"MVENTA", "ID_PACIENTE", kCero}, {"MVENTA", "ID_FORMA_PAGO", kCero},
    {"MVENTA", "LIQUIDO_M1", kCero}, {"MVENTA", "PORCENTAJE_DESCUENTO", kCero}, {"MVENTA", "FS_ENCARGO", kCero},
    {"MVENTA", "FS_COBRO", kCero}, {"MVENTA", "FS_SERIE", kVacio},
    {"DVENTA", "REFERENCIA", kVacio}, {"DVENTA", "DESCRIPCION", kVacio}, {"DVENTA", "UNIDADES", kCero},
    {"DVENTA", "PRECIO_UNITARIO_M1", kCero}, {"DVENTA", "PORCENTAJE_DESCUENTO", kCero},
    {"DVENTA", "LIQUIDO_M1", kCero}, {"DVENTA", "BI_BASE_M1", kCero}, {"DVENTA", "BI_IVA_M1", kCero},
    {"DVENTA", "IVA", kCero, Sql::Compared}, {"DVENTA", "ID_GRUPO", kCero}, {"DVENTA", "ID_AGENTE_1", kCero},
    {"DVENTA", "ID_AGENTE_2", kCero}, {"DVENTA", "ID_AGENTE_3", kCero},
    {"COBRO", "ID_TIENDA", kCero}, {"COBRO", "FECHA", kFechaCero, Sql::Compared}, {"COBRO", "IMPORTE_M1", kCero},
    {"COBRO", "ID_FORMA_PAGO", kCero}, {"COBRO", "ID_AGENTE", kCero}, {"COBRO", "TICKET", kCero},
    {"CAJA", "ID_TIENDA", kCero}, {"CAJA", "FECHA", kFechaCero, Sql::Compared}, {"CAJA", "TIPO", kCero},
    {"CAJA", "DESCRIPCION", kVacio}, {"CAJA", "IMPORTE_M1", kCero}, {"CAJA", "ID_FORMA_PAGO", kCero},
    {"FORMA_PAGO", "CODIGO", kCero}, {"FORMA_PAGO", "DESCRIPCION", kVacio},
    {"FORMA_PAGO", "TIPO", kCero, Sql::Compared}, {"FORMA_PAGO", "TIPO_PAGO", kCero, Sql::Compared},
    {"AGENTE", "CODIGO", kVacio},
    {"GRUPO", "CODIGO", kVacio, Sql::Compared},
    {"TIENDA", "CODIGO", kCero}, {"TIENDA", "DESCRIPCION", kVacio},
    {"PACIENTE", "NOMBRE", kVacio, Sql::Compared}, {"PACIENTE", "APELLIDOS", kVacio, Sql::Compared},
    {"PACIENTE", "BORRADO", kCero, Sql::Compared},
    {"ARTICULO", "REFERENCIA", kVacio, Sql::Compared}, {"ARTICULO", "ID_FAMILIA", kCero},
    {"FAMILIA", "DESCRIPCION", kVacio},
    {"IVA", "PORCENTAJE", kCero}, {"IVA", "DESCRIPCION", kVacio},
    {"LOCALIDAD", "CODIGO_POSTAL", kCero}, {"LOCALIDAD", "DESCRIPCION", kVacio},
    {"LOCALIDAD", "ID_PROVINCIA", kCero},
    {"PROVINCIA", "DESCRIPCION", kVacio},
    {"MONEDA", "SIMBOLO_M1", kVacio}, {"MONEDA", "DECIMALES_M1", kCero},
    {"EMPRESA", "NOMBRE_COMERCIAL", kVacio}, {"EMPRESA", "EMPRESA", kVacio}, {"EMPRESA", "TELEFONO", kVacio},
    {"EMPRESA", "FAX", kVacio}, {"EMPRESA", "CORREO", kVacio}, {"EMPRESA", "TIPO_CALCULO_IVA", kCero},
    {"EMPRESA", "DIRECCION", kVacio}, {"EMPRESA", "NIF", kVacio}, {"EMPRESA", "ID_LOCALIDAD", kCero},
    {"EMPRESA", "SEPARADOR_DOCUMENTO", kVacio}, {"EMPRESA", "ID_IVA_DEFECTO", kCero},
};

const QStringList kConditions{"--fecha", "entre", "--desde", "30/05/2013", "--hasta", "03/06/2013", "--tiendas", "todas"};
const QString kWorkingDate = QStringLiteral("03/06/2013");

class NullColumns : public ::testing::TestWithParam<NullColumn> {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/lumetra-nulls-XXXXXX"));
        template_ = dir_->filePath(QStringLiteral("tienda.fdb"));
        ShopDatabase::create(template_);
        Database db;
        db.open(template_);
        // Across the end of a month: the month totals of the first day come from the database.
        DemoHistory({2, QDate(2013, 5, 27), 8, 1}).fill(db);
    }
    static void TearDownTestSuite() { dir_.reset(); }

    // A copy of the shop with `value` in the column of every other row (the first row's among
    // them: the company, the currency); the rows changed.
    static int copyWith(const NullColumn& c, const QString& value, const QString& path)
    {
        DatabaseFile::copy(template_, path);
        Database db;
        db.open(path);
        const QString where = QStringLiteral(" where mod(ID_%1, 2) = (select mod(min(ID_%1), 2) from %1)").arg(QLatin1String(c.table));
        db.execute(QStringLiteral("update %1 set %2 = %3%4").arg(QLatin1String(c.table), QLatin1String(c.column), value, where));
        return int(queryNumber(db, QStringLiteral("select count(*) from %1%2").arg(QLatin1String(c.table), where)));
    }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline QString template_;
};

// The CSV lines of a document, sorted: the queries leave the order of equal keys (the lines of
// one sale) to the database, which breaks such ties by the rows' contents, NULL or not.
QList<QByteArray> sortedLines(const ReportDocument& document)
{
    QList<QByteArray> lines = ReportExporter::csv(document).split('\n');
    std::sort(lines.begin(), lines.end());
    return lines;
}

// "" when the two printings print the same lines, else the first line that differs.
std::string difference(const ListingSession::Printed& a, const ListingSession::Printed& b)
{
    if (a.documents.size() != b.documents.size())
        return "documents: " + std::to_string(a.documents.size()) + " against " + std::to_string(b.documents.size());
    for (qsizetype d = 0; d < a.documents.size(); ++d) {
        const QList<QByteArray> la = sortedLines(a.documents.at(d));
        const QList<QByteArray> lb = sortedLines(b.documents.at(d));
        for (qsizetype i = 0; i < std::max(la.size(), lb.size()); ++i)
            if (la.value(i) != lb.value(i))
                return a.documents.at(d).title.toStdString() + " line " + std::to_string(i + 1) + ":\n  " + la.value(i).toStdString()
                    + "\n  " + lb.value(i).toStdString();
    }
    return {};
}

TEST_P(NullColumns, EveryListingPrintsAndReadsTheNullAsZero)
{
    const NullColumn& c = GetParam();
    QTemporaryDir work(dir_->filePath(QStringLiteral("caso-XXXXXX")));
    const QString nulls = work.filePath(QStringLiteral("nulos.fdb"));
    const QString zeros = work.filePath(QStringLiteral("ceros.fdb"));
    ASSERT_GT(copyWith(c, QStringLiteral("NULL"), nulls), 0) << "no row holds the NULL";
    const bool compare = c.sql == Sql::Read;
    if (compare)
        copyWith(c, QString::fromLatin1(c.zero), zeros);

    ListingSession withNulls(nulls, kWorkingDate);
    std::unique_ptr<ListingSession> withZeros = compare ? std::make_unique<ListingSession>(zeros, kWorkingDate) : nullptr;
    for (const QStringList& listing : everyListingWithFamilies()) {
        SCOPED_TRACE(listing.join(u' ').toStdString());
        const ListingSession::Printed printed = withNulls.print(listing, kConditions);
        EXPECT_EQ(printed.status, 0);
        EXPECT_EQ(printed.problems, QStringList());
        ASSERT_FALSE(printed.documents.isEmpty()) << printed.status << printed.problems.join("|").toStdString();
        if (withZeros) {
            EXPECT_EQ(difference(printed, withZeros->print(listing, kConditions)), "") << "NULL against " << c.zero;
        }
    }
}

std::string columnName(const ::testing::TestParamInfo<NullColumn>& info)
{
    return std::string(info.param.table) + "_" + info.param.column;
}

INSTANTIATE_TEST_SUITE_P(ShopColumns, NullColumns, ::testing::ValuesIn(kColumns), columnName);

struct Statements : DatabaseCalls::Observer {
    QSet<QString> texts;
    void call(DatabaseCalls::Operation op, const QString& sql) override
    {
        if (op == DatabaseCalls::Operation::Prepare)
            texts.insert(sql);
    }
};

// Keys (never NULL), and what decides which listings may be asked for rather than what they
// print: without sales groups (USA_GRUPOS NULL reads as 0) the group report is refused.
const QSet<QString> kNotInTable{"ID_MVENTA", "ID_DVENTA", "ID_COBRO", "ID_CAJA", "ID_FORMA_PAGO", "ID_AGENTE", "ID_GRUPO",
                                "ID_TIENDA", "ID_PACIENTE", "ID_LOCALIDAD", "ID_PROVINCIA", "ID_IVA", "ID_EMPRESA", "ID_USUARIO",
                                "USA_GRUPOS"};

TEST_F(NullColumns, EveryColumnTheListingsNameIsInTheTable)
{
    Statements recorded;
    DatabaseCalls::setObserver(&recorded);
    {
        ListingSession session(template_, kWorkingDate);
        for (const QStringList& listing : everyListingWithFamilies())
            EXPECT_EQ(session.print(listing, kConditions).status, 0) << listing.join(u' ').toStdString();
    }
    DatabaseCalls::setObserver(nullptr);

    QSet<QString> inTable;
    for (const NullColumn& c : kColumns)
        inTable.insert(QString::fromLatin1(c.column));
    // alias.COLUMN, the way every statement of the listings names a column of a shop table.
    static const QRegularExpression named(QStringLiteral("\\b(?:MV|DV|CO|CA|FP|AG|AG1|AG2|GR|E|L|P|I|U|T)\\.([A-Z_][A-Z0-9_]*)"),
                                          QRegularExpression::CaseInsensitiveOption);
    QSet<QString> missing;
    for (const QString& sql : recorded.texts)
        for (auto it = named.globalMatch(sql); it.hasNext();) {
            const QString column = it.next().captured(1).toUpper();
            if (!inTable.contains(column) && !kNotInTable.contains(column))
                missing.insert(column);
        }
    EXPECT_TRUE(missing.isEmpty()) << QStringList(missing.begin(), missing.end()).join(QStringLiteral(", ")).toStdString();
    EXPECT_GE(recorded.texts.size(), 15);
}

} // namespace

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
    const char* table;
    const char* column;
    const char* key;    // the table's key, to pick every other row
    const char* zero;   // what the listings read NULL as, as SQL
    Sql sql;
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
    {"MVENTA", "ID_TIENDA", "ID_MVENTA", kCero, Sql::Read},
    {"MVENTA", "FECHA", "ID_MVENTA", kFechaCero, Sql::Compared},
    {"MVENTA", "FECHA_PAGADO", "ID_MVENTA", kFechaCero, Sql::Compared},
    {"MVENTA", "TIPO_OPERACION", "ID_MVENTA", kCero, Sql::Compared},
    {"MVENTA", "N_TALON", "ID_MVENTA", kCero, Sql::Read},
    {"MVENTA", "ID_PACIENTE", "ID_MVENTA", kCero, Sql::Read},
    {"MVENTA", "ID_FORMA_PAGO", "ID_MVENTA", kCero, Sql::Read},
    {"MVENTA", "LIQUIDO_M1", "ID_MVENTA", kCero, Sql::Read},
    {"MVENTA", "PORCENTAJE_DESCUENTO", "ID_MVENTA", kCero, Sql::Read},
    {"MVENTA", "FS_ENCARGO", "ID_MVENTA", kCero, Sql::Read},
    {"MVENTA", "FS_COBRO", "ID_MVENTA", kCero, Sql::Read},
    {"MVENTA", "FS_SERIE", "ID_MVENTA", kVacio, Sql::Read},
    {"DVENTA", "REFERENCIA", "ID_DVENTA", kVacio, Sql::Read},
    {"DVENTA", "DESCRIPCION", "ID_DVENTA", kVacio, Sql::Read},
    {"DVENTA", "UNIDADES", "ID_DVENTA", kCero, Sql::Read},
    {"DVENTA", "PRECIO_UNITARIO_M1", "ID_DVENTA", kCero, Sql::Read},
    {"DVENTA", "PORCENTAJE_DESCUENTO", "ID_DVENTA", kCero, Sql::Read},
    {"DVENTA", "LIQUIDO_M1", "ID_DVENTA", kCero, Sql::Read},
    {"DVENTA", "BI_BASE_M1", "ID_DVENTA", kCero, Sql::Read},
    {"DVENTA", "BI_IVA_M1", "ID_DVENTA", kCero, Sql::Read},
    {"DVENTA", "IVA", "ID_DVENTA", kCero, Sql::Compared},
    {"DVENTA", "ID_GRUPO", "ID_DVENTA", kCero, Sql::Read},
    {"DVENTA", "ID_AGENTE_1", "ID_DVENTA", kCero, Sql::Read},
    {"DVENTA", "ID_AGENTE_2", "ID_DVENTA", kCero, Sql::Read},
    {"DVENTA", "ID_AGENTE_3", "ID_DVENTA", kCero, Sql::Read},
    {"COBRO", "ID_TIENDA", "ID_COBRO", kCero, Sql::Read},
    {"COBRO", "FECHA", "ID_COBRO", kFechaCero, Sql::Compared},
    {"COBRO", "IMPORTE_M1", "ID_COBRO", kCero, Sql::Read},
    {"COBRO", "ID_FORMA_PAGO", "ID_COBRO", kCero, Sql::Read},
    {"COBRO", "ID_AGENTE", "ID_COBRO", kCero, Sql::Read},
    {"COBRO", "TICKET", "ID_COBRO", kCero, Sql::Read},
    {"CAJA", "ID_TIENDA", "ID_CAJA", kCero, Sql::Read},
    {"CAJA", "FECHA", "ID_CAJA", kFechaCero, Sql::Compared},
    {"CAJA", "TIPO", "ID_CAJA", kCero, Sql::Read},
    {"CAJA", "DESCRIPCION", "ID_CAJA", kVacio, Sql::Read},
    {"CAJA", "IMPORTE_M1", "ID_CAJA", kCero, Sql::Read},
    {"CAJA", "ID_FORMA_PAGO", "ID_CAJA", kCero, Sql::Read},
    {"FORMA_PAGO", "CODIGO", "ID_FORMA_PAGO", kCero, Sql::Read},
    {"FORMA_PAGO", "DESCRIPCION", "ID_FORMA_PAGO", kVacio, Sql::Read},
    {"FORMA_PAGO", "TIPO", "ID_FORMA_PAGO", kCero, Sql::Compared},
    {"FORMA_PAGO", "TIPO_PAGO", "ID_FORMA_PAGO", kCero, Sql::Compared},
    {"AGENTE", "CODIGO", "ID_AGENTE", kVacio, Sql::Read},
    {"GRUPO", "CODIGO", "ID_GRUPO", kVacio, Sql::Compared},
    {"TIENDA", "CODIGO", "ID_TIENDA", kCero, Sql::Read},
    {"TIENDA", "DESCRIPCION", "ID_TIENDA", kVacio, Sql::Read},
    {"PACIENTE", "NOMBRE", "ID_PACIENTE", kVacio, Sql::Compared},
    {"PACIENTE", "APELLIDOS", "ID_PACIENTE", kVacio, Sql::Compared},
    {"PACIENTE", "BORRADO", "ID_PACIENTE", kCero, Sql::Compared},
    {"ARTICULO", "REFERENCIA", "ID_ARTICULO", kVacio, Sql::Compared},
    {"ARTICULO", "ID_FAMILIA", "ID_ARTICULO", kCero, Sql::Read},
    {"FAMILIA", "DESCRIPCION", "ID_FAMILIA", kVacio, Sql::Read},
    {"IVA", "PORCENTAJE", "ID_IVA", kCero, Sql::Read},
    {"IVA", "DESCRIPCION", "ID_IVA", kVacio, Sql::Read},
    {"LOCALIDAD", "CODIGO_POSTAL", "ID_LOCALIDAD", kCero, Sql::Read},
    {"LOCALIDAD", "DESCRIPCION", "ID_LOCALIDAD", kVacio, Sql::Read},
    {"LOCALIDAD", "ID_PROVINCIA", "ID_LOCALIDAD", kCero, Sql::Read},
    {"PROVINCIA", "DESCRIPCION", "ID_PROVINCIA", kVacio, Sql::Read},
    {"MONEDA", "SIMBOLO_M1", "ID_MONEDA", kVacio, Sql::Read},
    {"MONEDA", "DECIMALES_M1", "ID_MONEDA", kCero, Sql::Read},
    {"EMPRESA", "NOMBRE_COMERCIAL", "ID_EMPRESA", kVacio, Sql::Read},
    {"EMPRESA", "EMPRESA", "ID_EMPRESA", kVacio, Sql::Read},
    {"EMPRESA", "TELEFONO", "ID_EMPRESA", kVacio, Sql::Read},
    {"EMPRESA", "FAX", "ID_EMPRESA", kVacio, Sql::Read},
    {"EMPRESA", "CORREO", "ID_EMPRESA", kVacio, Sql::Read},
    {"EMPRESA", "TIPO_CALCULO_IVA", "ID_EMPRESA", kCero, Sql::Read},
    {"EMPRESA", "DIRECCION", "ID_EMPRESA", kVacio, Sql::Read},
    {"EMPRESA", "NIF", "ID_EMPRESA", kVacio, Sql::Read},
    {"EMPRESA", "ID_LOCALIDAD", "ID_EMPRESA", kCero, Sql::Read},
    {"EMPRESA", "SEPARADOR_DOCUMENTO", "ID_EMPRESA", kVacio, Sql::Read},
    {"EMPRESA", "ID_IVA_DEFECTO", "ID_EMPRESA", kCero, Sql::Read},
};

const QStringList kConditions{"--fecha", "entre", "--desde", "30/05/2013", "--hasta", "03/06/2013", "--tiendas", "todas"};
const QString kWorkingDate = QStringLiteral("03/06/2013");

class NullColumns : public ::testing::TestWithParam<NullColumn> {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/lumetra-nulls-XXXXXX"));
        template_ = dir_->filePath(QStringLiteral("tienda.fdb"));
        ShopDatabase::create(template_);
        Database db;
        db.open(template_);
        // Across the end of a month: the month totals of the first day come from the database.
        DemoHistory({2, QDate(2013, 5, 27), 8, 1}).fill(db);
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }

    // A copy of the shop with `value` in the column of every other row (the first row's among
    // them: the company, the currency); the rows changed.
    static int copyWith(const NullColumn& c, const QString& value, const QString& path)
    {
        DatabaseFile::copy(template_, path);
        Database db;
        db.open(path);
        const QString where = QStringLiteral(" where mod(%1, 2) = (select mod(min(%1), 2) from %2)").arg(QLatin1String(c.key), QLatin1String(c.table));
        db.execute(QStringLiteral("update %1 set %2 = %3%4").arg(QLatin1String(c.table), QLatin1String(c.column), value, where));
        Dataset count(QStringLiteral("dstCuenta"));
        count.setDatabase(&db);
        count.setSql(QStringLiteral("select count(*) from %1%2").arg(QLatin1String(c.table), where));
        count.open();
        return count.fieldAsInteger(QStringLiteral("COUNT"));
    }

    static QTemporaryDir* dir_;
    static QString template_;
};

QTemporaryDir* NullColumns::dir_ = nullptr;
QString NullColumns::template_;

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
    for (const Listing& listing : everyListing()) {
        SCOPED_TRACE(listing.name.toStdString());
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
        for (const Listing& listing : everyListing())
            EXPECT_EQ(session.print(listing, kConditions).status, 0) << listing.name.toStdString();
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

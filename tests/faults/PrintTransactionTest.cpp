// The transaction a print reads in: each print sees the shop as it stands when it starts, what
// another workstation commits meanwhile appears in the next print of the same window, and no
// transaction is left open on the listing connection between prints.
#include "EveryListing.h"
#include "demodb/DemoHistory.h"
#include "demodb/ShopDatabase.h"
#include "hostapi/HostParams.h"
#include "platform/db/Database.h"
#include "platform/db/Transaction.h"
#include "support/RecordingInteraction.h"
#include "support/TestTools.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

class PrintTransaction : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = dir_.filePath(QStringLiteral("tienda.fdb"));
        ShopDatabase::create(path_);
        Database db;
        db.open(path_);
        DemoHistory({1, QDate(2013, 6, 10), 2, 11}).fill(db);
        open_ = std::make_unique<test::OpenWindow>(path_);
    }
    void TearDown() override { open_.reset(); }

    bool transactionActive() const { return open_->session->params()->Transaccion->isActive(); }

    // The card report of the two days; the texts of its detail rows.
    QStringList printCards()
    {
        interaction_.outputs.clear();
        EXPECT_EQ(open_->print({"--db", path_, "--fecha-trabajo", "11/06/2013", "--fecha", "entre", "--desde", "10/06/2013", "--hasta",
                                "11/06/2013", "--listado", "tarjetas", "--salida", dir_.filePath(QStringLiteral("t.csv"))}),
                  0)
            << interaction_.dialogs.join('\n').toStdString();
        QStringList rows;
        for (const auto& output : interaction_.outputs)
            for (const QStringList& texts : test::bandTexts(output.document, QStringLiteral("bndDetalle")))
                rows << texts.join(QLatin1Char('|'));
        return rows;
    }

    // A card collection of 77,70 € committed by another workstation.
    void collectElsewhere()
    {
        Database other;
        other.open(path_);
        Transaction t(other);
        t.start();
        const QList<QStringList> venta = test::queryRows(other, QStringLiteral(
            "select first 1 MV.ID_MVENTA, MV.ID_TIENDA, (select first 1 ID_FORMA_PAGO from FORMA_PAGO where TIPO_PAGO = 2) FP "
            "from MVENTA MV where MV.TIPO_OPERACION = 0 and MV.FECHA >= '2013-06-10' order by MV.ID_MVENTA"));
        ASSERT_FALSE(venta.isEmpty());
        other.execute(QStringLiteral("insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, TICKET) "
                                     "values (%1, %2, '2013-06-11 19:30', 77.70, %3, 9999)")
                          .arg(venta[0][0], venta[0][1], venta[0][2]));
        t.commit();
    }

    QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/lumetra-print-tx-XXXXXX")};
    QString path_;
    test::RecordingInteraction interaction_;
    std::unique_ptr<test::OpenWindow> open_;
};

TEST_F(PrintTransaction, APrintSeesWhatWasCommittedBeforeItAndHoldsNothingAfter)
{
    const QStringList before = printCards();
    ASSERT_FALSE(before.isEmpty());
    EXPECT_FALSE(transactionActive()) << "no transaction is kept between prints";

    collectElsewhere();
    const QStringList after = printCards();
    EXPECT_EQ(after.size(), before.size() + 1);
    EXPECT_TRUE(after.join('\n').contains(QStringLiteral("77,70 €"))) << after.join('\n').toStdString();
    EXPECT_FALSE(before.join('\n').contains(QStringLiteral("77,70 €")));
    EXPECT_FALSE(transactionActive());

    // The same print again reads the same rows: nothing the print did stayed behind.
    EXPECT_EQ(printCards(), after);
}

// The host may hand over its transaction already started, with a snapshot older than the data:
// a print ends it and reads in its own.
TEST_F(PrintTransaction, AnOlderHostTransactionIsEndedNotReadIn)
{
    open_->session->params()->Transaccion->start();
    collectElsewhere();
    EXPECT_TRUE(printCards().join('\n').contains(QStringLiteral("77,70 €")));
    EXPECT_FALSE(transactionActive());
}

} // namespace

// DemoHistory: a deterministic, realistic shop history written into a new shop database.
//
// For every store and every opening day (Monday to Saturday): the opening float and other
// cash-box movements, direct sales paid in cash, cheque, card or delivery note (some split in two
// collections), orders with down payments on earlier days and the rest on the day they are
// finished (orders still open at the end keep the far-future paid date), repairs and other
// operations kept out of the sales figures, simplified-invoice series and numbers, line and
// global discounts, sales groups and agents. VAT rates follow the date of the sale, so a history
// that starts before 1 July 2010 crosses both rate changes. The same options and seed always
// give the same rows.
#pragma once

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

namespace lumetra {

class Database;

struct DemoOptions {
    int tiendas = 3;
    QDate desde = QDate(2013, 5, 1);
    int dias = 60;
    unsigned semilla = 1;
};

class DemoHistory {
public:
    explicit DemoHistory(DemoOptions options);

    // Inserts the history in one transaction; throws DatabaseError (and rolls back) on failure.
    void fill(Database& database);

    // Rows per shop table, in the order of ShopDatabase::tableNames().
    static QList<QPair<QString, int>> rowCounts(Database& database);

private:
    DemoOptions options_;
};

} // namespace lumetra

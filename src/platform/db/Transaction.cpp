#include "platform/db/Transaction.h"

#include "platform/db/Database.h"
#include "platform/db/DatabaseCalls.h"
#include "platform/db/DatabaseError.h"

#include <QSqlError>

namespace lumetra {

Transaction::Transaction(Database& database)
    : database_(database)
{
}

Transaction::~Transaction()
{
    if (active_ && database_.isOpen()) {
        ++database_.transactionEpoch_;
        database_.connection().rollback();
    }
}

void Transaction::start()
{
    if (active_)
        return;
    QSqlDatabase db = database_.connection();
    ++database_.transactionEpoch_;
    if (!db.transaction())
        throw DatabaseError::fromSqlError(db.lastError(), QStringLiteral("iniciar la transacción"), database_.location());
    active_ = true;
}

void Transaction::commit()
{
    if (!active_)
        return;
    QSqlDatabase db = database_.connection();
    active_ = false;
    ++database_.transactionEpoch_;
    DatabaseCalls::notify(DatabaseCalls::Operation::Commit, QString());
    if (!db.commit())
        throw DatabaseError::fromSqlError(db.lastError(), QStringLiteral("confirmar la transacción"), database_.location());
}

void Transaction::rollback()
{
    if (!active_)
        return;
    QSqlDatabase db = database_.connection();
    active_ = false;
    ++database_.transactionEpoch_;
    if (!db.rollback())
        throw DatabaseError::fromSqlError(db.lastError(), QStringLiteral("deshacer la transacción"), database_.location());
}

} // namespace lumetra

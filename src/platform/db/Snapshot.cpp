#include "platform/db/Snapshot.h"

#include "platform/db/Transaction.h"

namespace lumetra {

Snapshot::Snapshot(Transaction& transaction)
    : transaction_(transaction)
{
    begin();
}

Snapshot::Snapshot(Database& database)
    : own_(std::make_unique<Transaction>(database))
    , transaction_(*own_)
{
    begin();
}

void Snapshot::begin()
{
    if (transaction_.isActive())
        transaction_.commit();
    transaction_.start();
}

Snapshot::~Snapshot()
{
    try {
        transaction_.rollback();
    } catch (...) {
        // Nothing to undo on a connection that has gone.
    }
}

} // namespace lumetra

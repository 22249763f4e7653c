// Snapshot: one piece of reading work in a transaction of its own. It ends the transaction the
// connection had (committing it: it belongs to whoever started it), starts a fresh one, which sees
// everything committed until then and nothing committed later, and rolls it back when it goes, so
// nothing done inside it stays and no old snapshot is held between pieces of work.
//
// The driver gives no way to start a read-only transaction; the rollback is what keeps the work
// from leaving anything behind.
#pragma once

#include <memory>

namespace lumetra {

class Database;
class Transaction;

class Snapshot {
public:
    // Throws DatabaseError when the transaction cannot be ended or started.
    explicit Snapshot(Transaction& transaction);
    // For a connection whose owner gave no transaction object.
    explicit Snapshot(Database& database);
    // Never throws: a connection that has gone cannot roll back, and has nothing to keep.
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

private:
    void begin();

    std::unique_ptr<Transaction> own_;
    Transaction& transaction_;
};

} // namespace lumetra

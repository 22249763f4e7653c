// Transaction: the transaction of a connection. Qt ties one transaction to each connection, so
// every dataset on the same Database runs inside it while it is active. A Transaction still
// active when destroyed is rolled back.
#pragma once

namespace lumetra {

class Database;

class Transaction {
public:
    explicit Transaction(Database& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void start();
    void commit();
    void rollback();
    bool isActive() const { return active_; }
    Database& database() const { return database_; }

private:
    Database& database_;
    bool active_ = false;
};

} // namespace lumetra

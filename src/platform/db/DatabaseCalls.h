// DatabaseCalls: one place that sees every call the datasets, procedures, transactions and
// statements make to the database, before it is made. A test installs an observer to list the
// statements a listing runs, or to make one chosen call fail as a lost connection would: an
// observer that throws DatabaseError makes that call fail exactly as the driver's failure does.
// Without an observer the cost is one pointer test per call.
#pragma once

#include <QString>

namespace lumetra {

class DatabaseCalls {
public:
    enum class Operation { Prepare, Execute, Fetch, Procedure, Commit };

    class Observer {
    public:
        virtual ~Observer();
        // `sql` is the statement's text (the procedure's name for Procedure; empty for Commit).
        virtual void call(Operation operation, const QString& sql) = 0;
    };

    // Not owned; nullptr removes it. One observer for the whole process (tests run one at a time).
    static void setObserver(Observer* observer);
    static Observer* observer() { return observer_; }

    static void notify(Operation operation, const QString& sql)
    {
        if (observer_)
            observer_->call(operation, sql);
    }

private:
    static Observer* observer_;   // defined once, in the platform library
};

} // namespace lumetra

// StatementDeadline: a limit on how long a connection may wait while it lives. Once the limit
// has passed, whatever statement the connection is running is cancelled and fails with the
// engine's cancellation error, so a statement waiting on a lock another transaction holds fails
// instead of waiting for ever. Ended (and no longer able to cancel) when it goes.
//
// The driver cannot start a transaction with a lock timeout of its own; the engine's
// cancellation, asked from another thread, is what bounds the wait.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace lumetra {

class Database;

class StatementDeadline {
public:
    StatementDeadline(Database& database, std::chrono::milliseconds limit);
    ~StatementDeadline();
    StatementDeadline(const StatementDeadline&) = delete;
    StatementDeadline& operator=(const StatementDeadline&) = delete;

    // Whether the limit passed and the running statement was cancelled.
    bool expired() const;

private:
    unsigned int handle_ = 0;   // the engine's attachment handle
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    bool expired_ = false;
    std::thread watch_;
};

} // namespace lumetra

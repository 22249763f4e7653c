#include "platform/db/StatementDeadline.h"

#include "platform/db/Database.h"

#include <QSqlDriver>
#include <QVariant>
#include <ibase.h>

namespace lumetra {

static_assert(sizeof(isc_db_handle) == sizeof(unsigned int), "the attachment handle is kept as an unsigned int");

StatementDeadline::StatementDeadline(Database& database, std::chrono::milliseconds limit)
{
    // Read here, on the connection's own thread; the watch only hands it to the engine.
    const QVariant handle = database.connection().driver()->handle();
    if (handle.metaType() == QMetaType::fromType<isc_db_handle>())
        handle_ = *static_cast<const isc_db_handle*>(handle.constData());
    if (!handle_)
        return;
    watch_ = std::thread([this, limit] {
        std::unique_lock lock(mutex_);
        if (ended_.wait_for(lock, limit, [this] { return done_; }))
            return;
        expired_ = true;
        ISC_STATUS_ARRAY status;
        isc_db_handle attachment = handle_;
        fb_cancel_operation(status, &attachment, fb_cancel_raise);
    });
}

StatementDeadline::~StatementDeadline()
{
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    ended_.notify_all();
    if (watch_.joinable())
        watch_.join();
}

bool StatementDeadline::expired() const
{
    const std::lock_guard lock(mutex_);
    return expired_;
}

} // namespace lumetra

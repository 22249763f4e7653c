#include "platform/db/DatabaseCalls.h"

namespace lumetra {

DatabaseCalls::Observer* DatabaseCalls::observer_ = nullptr;

DatabaseCalls::Observer::~Observer() = default;

void DatabaseCalls::setObserver(Observer* observer)
{
    observer_ = observer;
}

} // namespace lumetra

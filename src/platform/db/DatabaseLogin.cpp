#include "platform/db/DatabaseLogin.h"

#include "platform/db/Database.h"

namespace lumetra {

namespace {
QString pick(const std::optional<QString>& given, const char* variable, const char* fallback)
{
    if (given)
        return *given;
    // An empty variable is one not set, as for Firebird's tools.
    if (!qEnvironmentVariableIsEmpty(variable))
        return qEnvironmentVariable(variable);
    return QString::fromLatin1(fallback);
}
} // namespace

DatabaseLogin DatabaseLogin::resolve(const std::optional<QString>& user, const std::optional<QString>& password)
{
    return {pick(user, "ISC_USER", Database::DefaultUser), pick(password, "ISC_PASSWORD", Database::DefaultPassword)};
}

} // namespace lumetra

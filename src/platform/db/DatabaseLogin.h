// DatabaseLogin: the user and password a program connects to the database with. For each of the
// two, a value the person gave (a command-line option) wins, then ISC_USER / ISC_PASSWORD from
// the environment (the variables Firebird's own tools read), then SYSDBA / masterkey. The
// embedded engine checks neither; a server checks both.
//
// The password is never part of any text a program shows: messages name the user only.
#pragma once

#include <QString>
#include <optional>

namespace lumetra {

struct DatabaseLogin {
    QString user;
    QString password;

    static DatabaseLogin resolve(const std::optional<QString>& user = std::nullopt,
                                 const std::optional<QString>& password = std::nullopt);
};

} // namespace lumetra

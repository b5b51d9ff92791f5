#pragma once

#include <QString>

namespace vantorel {

class CustomerDb;

struct LoginVerdict {
    enum class Kind { Accepted, WrongCredentials, NotActive };
    Kind kind = Kind::WrongCredentials;
    QString status; // the stored status, for NotActive
};

// Looks the member up by the ID compared byte for byte (case and trailing blanks
// count) and by the password's digest; only "Active" admits. Neither text is
// trimmed. Throws Error when the database fails.
LoginVerdict checkCredentials(CustomerDb& db, const QString& userId, const QString& password);

} // namespace vantorel

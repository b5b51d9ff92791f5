#pragma once

#include <QString>

namespace vantorel {

class CustomerDb;

// Replaces the password of the member with this ID (the database's ordinary,
// case-insensitive comparison) when the old password is right; false when no
// member has that ID and password. Neither text is trimmed or tested. Throws Error
// when the database fails.
bool UpdatePassword(CustomerDb& AQuery, const QString& AUserID, const QString& AOldPassword,
                    const QString& ANewPassword);

} // namespace vantorel

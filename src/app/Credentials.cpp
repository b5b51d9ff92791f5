#include "app/Credentials.h"

#include "app/CustomerDb.h"
#include "common/PasswordDigest.h"

namespace vantorel {

LoginVerdict checkCredentials(CustomerDb& db, const QString& userId, const QString& password) {
    // CAST AS BINARY makes the comparison exact while the index on user_id is still used.
    const auto rows = db.exec(
        QStringLiteral("SELECT status FROM Customer "
                       "WHERE user_id = CAST(:user_id AS BINARY) AND password = :password"),
        {{QStringLiteral(":user_id"), userId}, {QStringLiteral(":password"), passwordDigest(password)}});
    if (rows.isEmpty())
        return {LoginVerdict::Kind::WrongCredentials, {}};
    const QString status = rows.first().value(QStringLiteral("status")).toString();
    if (status != QLatin1String("Active"))
        return {LoginVerdict::Kind::NotActive, status};
    return {LoginVerdict::Kind::Accepted, {}};
}

} // namespace vantorel

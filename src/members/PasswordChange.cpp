#include "members/PasswordChange.h"

#include "app/CustomerDb.h"
#include "common/PasswordDigest.h"

namespace vantorel {

bool UpdatePassword(CustomerDb& AQuery, const QString& AUserID, const QString& AOldPassword,
                    const QString& ANewPassword) {
    const QString oldDigest = passwordDigest(AOldPassword);
    const QString newDigest = passwordDigest(ANewPassword);
    const auto rows = AQuery.exec(
        QStringLiteral(
            "SELECT COUNT(*) AS matches FROM Customer WHERE user_id = :user_id AND password = :password"),
        {{QStringLiteral(":user_id"), AUserID}, {QStringLiteral(":password"), oldDigest}});
    if (rows.isEmpty() || rows.first().value(QStringLiteral("matches")).toLongLong() == 0)
        return false;
    AQuery.exec(QStringLiteral("UPDATE Customer SET password = :new_password WHERE user_id = :user_id"),
                {{QStringLiteral(":new_password"), newDigest}, {QStringLiteral(":user_id"), AUserID}});
    return true;
}

} // namespace vantorel

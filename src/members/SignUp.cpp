#include "members/SignUp.h"

#include "app/CustomerDb.h"
#include "common/PasswordDigest.h"

namespace vantorel {

bool IsValidEmail(const QString& Email) {
    const qsizetype at = Email.indexOf(QLatin1Char('@'));
    const qsizetype lastDot = Email.lastIndexOf(QLatin1Char('.'));
    return Email.count(QLatin1Char('@')) == 1 && at > 0 && lastDot >= at + 2 && lastDot < Email.size() - 1;
}

QString formMailAddress(const QString& field, const QString& domain) {
    return domain.isEmpty() ? field : field + QLatin1Char('@') + domain;
}

bool isUserIdTaken(CustomerDb& db, const QString& userId) {
    return !db.exec(QStringLiteral("SELECT 1 FROM Customer WHERE user_id = :user_id"),
                    {{QStringLiteral(":user_id"), userId}})
                .isEmpty();
}

bool IsPhoneNumberRegistered(CustomerDb& db, const QString& PhoneNumber) {
    return !db.exec(QStringLiteral("SELECT 1 FROM Customer WHERE phone = :PhoneNumber"),
                    {{QStringLiteral(":PhoneNumber"), PhoneNumber}})
                .isEmpty();
}

bool CanAuthenticateFromDB(CustomerDb& db, const QDateTime& now, const QString& PhoneNumber,
                           const QString& IPAddress) {
    Q_UNUSED(PhoneNumber); // the rule is per device, whatever the number
    const auto rows = db.exec(QStringLiteral("SELECT LastAuthTime FROM AuthLog WHERE IPAddress = :IPAddress"),
                              {{QStringLiteral(":IPAddress"), IPAddress}});
    if (rows.isEmpty())
        return true;
    const QDateTime last = rows.first().value(QStringLiteral("LastAuthTime")).toDateTime();
    const qint64 wholeMinutes = qAbs(last.secsTo(now.toLocalTime())) / 60;
    return wholeMinutes >= 5;
}

void DelAuthTimeToDB(CustomerDb& db, const QString& IPAddress) {
    db.exec(QStringLiteral("DELETE FROM AuthLog WHERE IPAddress = :IPAddress"),
            {{QStringLiteral(":IPAddress"), IPAddress}});
}

void SaveAuthTimeToDB(CustomerDb& db, const QDateTime& now, const QString& PhoneNumber,
                      const QString& IPAddress) {
    // The wall-clock time as text: DATETIME keeps no zone, and the rule above
    // reads it back as local time.
    const QString localTime = now.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    db.exec(QStringLiteral("INSERT INTO AuthLog (PhoneNumber,IPAddress, LastAuthTime) "
                           "VALUES (:PhoneNumber,:IPAddress, :LastAuthTime) "
                           "ON DUPLICATE KEY UPDATE LastAuthTime = :LastAuthTime"),
            {{QStringLiteral(":PhoneNumber"), PhoneNumber},
             {QStringLiteral(":IPAddress"), IPAddress},
             {QStringLiteral(":LastAuthTime"), localTime}});
}

void insertCustomer(CustomerDb& db, const NewMember& member) {
    db.exec(
        QStringLiteral("INSERT INTO Customer (name, user_id, password, phone, status, note2, note3, note4) "
                       "VALUES (:name, :user_id, :password, :phone, :status, :note2, :note3, :note4)"),
        {{QStringLiteral(":name"), member.name},
         {QStringLiteral(":user_id"), member.userId},
         {QStringLiteral(":password"), passwordDigest(member.password)},
         {QStringLiteral(":phone"), member.phone},
         {QStringLiteral(":status"), QStringLiteral("Active")},
         {QStringLiteral(":note2"), member.mailAddress},
         {QStringLiteral(":note3"), QString(QLatin1String(""))},
         {QStringLiteral(":note4"), QString(QLatin1String(""))}});
}

} // namespace vantorel

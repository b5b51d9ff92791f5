#include "members/AccountRecovery.h"

#include "app/CustomerDb.h"
#include "common/Error.h"
#include "common/PasswordDigest.h"
#include "members/SmsGateway.h"

namespace vantorel {

QString GetUserIDByPhoneOrMailAddr(CustomerDb& db, const QString& Phone, const QString& MailAddr) {
    const auto rows = db.exec(QStringLiteral("SELECT user_id FROM Customer "
                                             "WHERE (phone = :Phone AND phone <> '') "
                                             "OR (note2 = :MailAddr AND note2 <> '')"),
                              {{QStringLiteral(":Phone"), Phone}, {QStringLiteral(":MailAddr"), MailAddr}});
    return rows.isEmpty() ? QString() : rows.first().value(QStringLiteral("user_id")).toString();
}

TemporaryPasswordOutcome issueTemporaryPassword(CustomerDb& db, const QString& UserID, const QString& Phone,
                                                const SendPassword& send) {
    const CustomerDb::Params account{{QStringLiteral(":UserID"), UserID}, {QStringLiteral(":Phone"), Phone}};
    TemporaryPasswordOutcome outcome;
    // The transaction stays open while the message is sent, with the event loop
    // running: on a connection of its own, so that what other windows store
    // meanwhile is neither rolled back with it nor committed early.
    const std::unique_ptr<CustomerDb> own = db.separateConnection();
    own->transaction([&] {
        // The row stays locked until the send has decided. A second request for the
        // account meanwhile fails at once (NOWAIT) rather than hold up its window.
        const auto rows =
            own->exec(QStringLiteral("SELECT note2, note3, CURDATE() AS ServerDate FROM Customer "
                                     "WHERE user_id = :UserID AND phone = :Phone FOR UPDATE NOWAIT"),
                      account);
        if (rows.isEmpty()) {
            outcome.kind = TemporaryPasswordOutcome::Kind::NoSuchAccount;
            return false;
        }
        const QString serverDate = rows.first().value(QStringLiteral("ServerDate")).toString();
        const QString lastDay = rows.first().value(QStringLiteral("note3")).toString();
        if (serverDate == lastDay) {
            outcome.kind = TemporaryPasswordOutcome::Kind::AlreadyToday;
            return false;
        }
        const QString password = GenerateRandomCode();
        CustomerDb::Params update = account;
        update.append({QStringLiteral(":NewPassword"), passwordDigest(password)});
        own->exec(QStringLiteral("UPDATE Customer SET password = :NewPassword, note3 = CURDATE() "
                                 "WHERE user_id = :UserID AND phone = :Phone "),
                  update);
        try {
            send(password);
        } catch (const Error& e) {
            outcome = {TemporaryPasswordOutcome::Kind::SmsFailed, e.text()};
            return false;
        }
        outcome.kind = TemporaryPasswordOutcome::Kind::Sent;
        return true;
    });
    return outcome;
}

} // namespace vantorel

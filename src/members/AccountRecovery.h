#pragma once

#include <QString>

#include <functional>

namespace vantorel {

class CustomerDb;

// The ID of the first member whose phone or mail address matches. An empty field
// matches nothing, so that an account without a mail address is never shown to
// someone who typed only a phone number. Empty when nobody matches.
QString GetUserIDByPhoneOrMailAddr(CustomerDb& db, const QString& Phone, const QString& MailAddr);

struct TemporaryPasswordOutcome {
    enum class Kind { NoSuchAccount, AlreadyToday, Sent, SmsFailed };
    Kind kind = Kind::NoSuchAccount;
    // For SmsFailed: the error's text.
    QString smsError;
};

// Sends the password to the member's phone; throws Error when it fails.
using SendPassword = std::function<void(const QString& password)>;

// A new six-digit password for the member with this ID and phone, at most once a
// server day. The new password and the day's mark take effect only when the
// message was sent: both are stored in one transaction that the send decides.
// Database errors throw Error.
TemporaryPasswordOutcome issueTemporaryPassword(CustomerDb& db, const QString& UserID, const QString& Phone,
                                                const SendPassword& send);

} // namespace vantorel

#pragma once

#include "common/Clock.h"
#include "common/Config.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace vantorel {

// Six digits, 100000 to 999999, from the system's secure random source: the
// verification code and the temporary password.
QString GenerateRandomCode();

// The pieces of one signed gateway request.
// The request time in UTC, "YYYY-MM-DDTHH:MM:SSZ".
QString smsDate(const QDateTime& now);
// 0 to 999999 in decimal, from the secure random source.
QString smsSalt();
// HMAC-SHA256 (RFC 2104) as 64 lower-case hex characters.
QString hmacSha256Hex(const QByteArray& key, const QByteArray& data);
// HMAC-SHA256 of date + salt keyed with the secret, as lower-case hex.
QString smsSignature(const QString& apiSecret, const QString& date, const QString& salt);
QString smsAuthorization(const QString& apiKey, const QString& date, const QString& salt,
                         const QString& signature);
// {"message":{"to":…,"from":…,"text":…,"type":"SMS"}}, members in that order, compact.
QByteArray smsBody(const QString& to, const QString& from, const QString& text);

// Sends SimpleTXT + VerificationCode to PhoneNumber and waits for the gateway's
// answer, at most the configured time, with the event loop running. Throws Error:
// "SMS 전송 실패: " + the answer's body for any status but 200, the transport's own
// text when the gateway cannot be reached or the TLS handshake fails.
void SendSMS(const SmsConfig& config, const Clock& clock, const QString& PhoneNumber,
             const QString& VerificationCode, const QString& SimpleTXT);

} // namespace vantorel

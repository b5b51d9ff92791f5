#include "members/SmsGateway.h"

#include "common/Error.h"
#include "common/ReplyWait.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMessageAuthenticationCode>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QSslCertificate>
#include <QSslConfiguration>

#include <memory>

namespace vantorel {

namespace {

// One JSON string, quoted and escaped, through Qt's own writer.
QByteArray jsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QSslConfiguration trusting(const QString& caFile) {
    const QList<QSslCertificate> authorities = QSslCertificate::fromPath(caFile, QSsl::Pem);
    if (authorities.isEmpty())
        throw Error(QStringLiteral("No CA certificate could be read from %1").arg(caFile));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(authorities);
    return tls;
}

} // namespace

QString GenerateRandomCode() {
    // Not a generator seeded from the clock: a temporary password that can be
    // guessed from the time of the request would let anyone sign in with it.
    return QString::number(100000 + QRandomGenerator::system()->bounded(900000U));
}

QString smsDate(const QDateTime& now) {
    return now.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

QString smsSalt() {
    return QString::number(QRandomGenerator::system()->bounded(1000000U));
}

QString hmacSha256Hex(const QByteArray& key, const QByteArray& data) {
    return QString::fromLatin1(
        QMessageAuthenticationCode::hash(data, key, QCryptographicHash::Sha256).toHex());
}

QString smsSignature(const QString& apiSecret, const QString& date, const QString& salt) {
    return hmacSha256Hex(apiSecret.toUtf8(), (date + salt).toUtf8());
}

QString smsAuthorization(const QString& apiKey, const QString& date, const QString& salt,
                         const QString& signature) {
    return QStringLiteral("HMAC-SHA256 apiKey=%1, date=%2, salt=%3, signature=%4")
        .arg(apiKey, date, salt, signature);
}

QByteArray smsBody(const QString& to, const QString& from, const QString& text) {
    // Written by hand: QJsonObject would sort the members.
    return "{\"message\":{\"to\":" + jsonString(to) + ",\"from\":" + jsonString(from) +
           ",\"text\":" + jsonString(text) + ",\"type\":\"SMS\"}}";
}

void SendSMS(const SmsConfig& config, const Clock& clock, const QString& PhoneNumber,
             const QString& VerificationCode, const QString& SimpleTXT) {
    const QString date = smsDate(clock.now());
    const QString salt = smsSalt();
    const QString authorization =
        smsAuthorization(config.apiKey, date, salt, smsSignature(config.apiSecret, date, salt));

    QNetworkRequest request{QUrl(config.url)};
    request.setRawHeader("Authorization", authorization.toUtf8());
    request.setRawHeader("Content-Type", "application/json");
    // A signed request is sent where it was meant to go, or not at all.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (!config.caFile.isEmpty())
        request.setSslConfiguration(trusting(config.caFile));

    // One manager per request: a reused one may skip a certificate check it has
    // already passed once.
    QNetworkAccessManager manager;
    const std::unique_ptr<QNetworkReply> reply(
        manager.post(request, smsBody(PhoneNumber, config.sender, SimpleTXT + VerificationCode)));

    switch (waitForReply(*reply, config.timeLimitMs)) {
    case ReplyWait::Finished:
        break;
    case ReplyWait::TimedOut:
        throw Error(QStringLiteral("The SMS gateway did not answer within %1 s")
                        .arg(QString::number(config.timeLimitMs / 1000.0)));
    case ReplyWait::Cancelled:
        throw Error(QStringLiteral("SMS request cancelled"));
    }

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        throw Error(reply->errorString());
    if (status.toInt() != 200)
        throw Error(QStringLiteral("SMS 전송 실패: ") + QString::fromUtf8(reply->readAll()));
}

} // namespace vantorel

#include "GatewayServer.h"
#include "HttpReply.h"

#include <QFile>
#include <QJsonDocument>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>

#include <cstdio>
#include <memory>
#include <optional>

namespace vantorel::smsgateway {

namespace {

constexpr qint64 kWindowSecs = 15 * 60;
constexpr qsizetype kMaxHeaderBytes = 64 * 1024;
constexpr qsizetype kMaxBodyBytes = 1024 * 1024;

HttpAnswer error(int status, const char* code, const QString& message) {
    const QJsonObject body{{QStringLiteral("errorCode"), QString::fromLatin1(code)},
                           {QStringLiteral("errorMessage"), message}};
    return {status, QJsonDocument(body).toJson(QJsonDocument::Compact)};
}

QString randomId(char prefix) {
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QString id = QString(QLatin1Char(prefix)) + QStringLiteral("4V");
    for (int i = 0; i < 15; ++i)
        id += QLatin1Char(digits[QRandomGenerator::global()->bounded(36)]);
    return id;
}

QByteArray response(const HttpAnswer& answer) {
    return httpReply(answer.status, "application/json; charset=utf-8", answer.body);
}

} // namespace

std::optional<HttpRequest> parseHead(const QByteArray& head) {
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    if (requestLine.size() != 3 || !requestLine[2].startsWith("HTTP/1."))
        return std::nullopt;
    HttpRequest request;
    request.method = requestLine[0];
    request.path = requestLine[1];
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (line.isEmpty())
            continue;
        if (colon <= 0)
            return std::nullopt;
        request.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
    }
    return request;
}

GatewayServer::GatewayServer(GatewayOptions options)
    : m_options(std::move(options)) {
    connect(this, &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection())
            serve(static_cast<QSslSocket*>(socket));
    });
}

bool GatewayServer::useCertificate(const QString& certFile, const QString& keyFile) {
    const QList<QSslCertificate> chain = QSslCertificate::fromPath(certFile, QSsl::Pem);
    QFile keyPem(keyFile);
    if (chain.isEmpty()) {
        m_error = QStringLiteral("no certificate in %1").arg(certFile);
        return false;
    }
    if (!keyPem.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot read %1: %2").arg(keyFile, keyPem.errorString());
        return false;
    }
    const QSslKey key(&keyPem, QSsl::Rsa, QSsl::Pem);
    if (key.isNull()) {
        m_error = QStringLiteral("no RSA private key in %1").arg(keyFile);
        return false;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificateChain(chain);
    tls.setPrivateKey(key);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    setSslConfiguration(tls);
    return true;
}

void GatewayServer::serve(QSslSocket* socket) {
    connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    // Each connection gathers one request, answers it and closes.
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QSslSocket::readyRead, socket, [this, socket, buffer] {
        *buffer += socket->readAll();
        const qsizetype end = buffer->indexOf("\r\n\r\n");
        if (end < 0) {
            if (buffer->size() > kMaxHeaderBytes) {
                socket->write(response(error(431, "HeaderTooLarge", QStringLiteral("Header too large"))));
                socket->disconnectFromHost();
            }
            return;
        }
        std::optional<HttpRequest> request = parseHead(buffer->left(end));
        if (!request) {
            socket->write(response(error(400, "BadRequest", QStringLiteral("Malformed HTTP request"))));
            socket->disconnectFromHost();
            return;
        }
        bool lengthOk = true;
        const qsizetype length = request->headers.value("content-length", "0").toLongLong(&lengthOk);
        if (!lengthOk || length < 0 || length > kMaxBodyBytes) {
            socket->write(response(error(413, "BodyTooLarge", QStringLiteral("Invalid Content-Length"))));
            socket->disconnectFromHost();
            return;
        }
        if (buffer->size() < end + 4 + length)
            return;
        request->body = buffer->mid(end + 4, length);
        buffer->clear();
        const HttpAnswer answered = answer(*request, QDateTime::currentDateTimeUtc());
        if (answered.status != 200) {
            std::fprintf(stderr, "refused %d %s\n", answered.status, answered.body.constData());
            std::fflush(stderr);
        }
        socket->write(response(answered));
        socket->disconnectFromHost();
    });
}

HttpAnswer GatewayServer::answer(const HttpRequest& request, const QDateTime& now) {
    if (request.path != "/messages/v4/send")
        return error(404, "NotFound", QStringLiteral("No such resource: ") + QString::fromUtf8(request.path));
    if (request.method != "POST")
        return error(405, "MethodNotAllowed", QStringLiteral("Only POST is allowed here"));

    // HMAC-SHA256 apiKey=…, date=…, salt=…, signature=… (key names in any case).
    static const QRegularExpression form(
        QStringLiteral(
            "^HMAC-SHA256 apiKey=([^,\\s]+), date=([^,\\s]+), salt=([^,\\s]+), signature=([^,\\s]+)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString header = QString::fromUtf8(request.headers.value("authorization"));
    const QRegularExpressionMatch fields = form.match(header);
    if (!header.startsWith(QLatin1String("HMAC-SHA256 ")) || !fields.hasMatch())
        return error(403, "InvalidAuthorizationHeader",
                     QStringLiteral("Authorization must read HMAC-SHA256 apiKey=, date=, salt=, signature="));
    const QString apiKey = fields.captured(1);
    const QString date = fields.captured(2);
    const QString salt = fields.captured(3);
    const QString signature = fields.captured(4);
    // The service documents 12 to 64 characters; shorter salts are taken here.
    static const QRegularExpression saltForm(QStringLiteral("^[0-9A-Za-z]{1,64}$"));
    if (!saltForm.match(salt).hasMatch())
        return error(403, "InvalidSalt", QStringLiteral("The salt must be 1 to 64 letters or digits"));
    if (apiKey != m_options.apiKey)
        return error(403, "InvalidAPIKey", QStringLiteral("Invalid API Key"));
    const QString expected = QString::fromLatin1(
        QMessageAuthenticationCode::hash((date + salt).toUtf8(), m_options.apiSecret.toUtf8(),
                                         QCryptographicHash::Sha256)
            .toHex());
    if (signature != expected)
        return error(403, "SignatureDoesNotMatch", QStringLiteral("Signature does not match"));
    static const QRegularExpression zoned(QStringLiteral("(Z|[+-][0-9]{2}:?[0-9]{2})$"));
    const QDateTime sent = QDateTime::fromString(date, Qt::ISODateWithMs);
    if (!sent.isValid() || !zoned.match(date).hasMatch())
        return error(403, "InvalidDate", QStringLiteral("The date must be ISO 8601 with a time zone"));
    if (qAbs(sent.secsTo(now)) > kWindowSecs)
        return error(403, "RequestTimeTooSkewed",
                     QStringLiteral("The date is more than 15 minutes away from the server's time"));
    for (auto it = m_signatures.begin(); it != m_signatures.end();) {
        if (it.value().secsTo(now) > kWindowSecs)
            it = m_signatures.erase(it);
        else
            ++it;
    }
    if (m_signatures.contains(signature))
        return error(403, "DuplicatedSignature",
                     QStringLiteral("The same signature was used within 15 minutes"));
    m_signatures.insert(signature, now);

    if (!request.headers.value("content-type").startsWith("application/json"))
        return error(400, "InvalidContentType", QStringLiteral("Content-Type must be application/json"));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(request.body, &parseError);
    if (!doc.isObject())
        return error(400, "ValidationError", QStringLiteral("The body is not a JSON object"));
    const QJsonValue message = doc.object().value(QStringLiteral("message"));
    if (!message.isObject())
        return error(400, "ValidationError", QStringLiteral("\"message\" must be one object"));
    return accept(message.toObject(), now);
}

HttpAnswer GatewayServer::accept(const QJsonObject& message, const QDateTime& now) {
    static const QRegularExpression number(QStringLiteral("^[0-9]{8,15}$"));
    for (const char* field : {"to", "from", "text"}) {
        const QJsonValue value = message.value(QLatin1String(field));
        if (!value.isString() || value.toString().isEmpty())
            return error(400, "ValidationError",
                         QStringLiteral("\"%1\" must be a text").arg(QLatin1String(field)));
    }
    const QString to = message.value(QStringLiteral("to")).toString();
    const QString from = message.value(QStringLiteral("from")).toString();
    const QString text = message.value(QStringLiteral("text")).toString();
    const QString type = message.value(QStringLiteral("type")).toString(QStringLiteral("SMS"));
    if (!number.match(to).hasMatch())
        return error(400, "ValidationError", QStringLiteral("\"to\" must be a phone number, digits only"));
    if (type != QLatin1String("SMS"))
        return error(400, "ValidationError", QStringLiteral("Only the SMS type is offered here"));
    if (text.size() > 2000)
        return error(400, "ValidationError", QStringLiteral("The text is too long"));
    if (from != m_options.sender)
        return error(400, "InvalidSenderNumber", QStringLiteral("The sender number is not registered"));

    const QJsonObject logged{{QStringLiteral("at"), now.toString(Qt::ISODate)},
                             {QStringLiteral("to"), to},
                             {QStringLiteral("from"), from},
                             {QStringLiteral("text"), text}};
    QFile log(m_options.logFile);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append) ||
        log.write(QJsonDocument(logged).toJson(QJsonDocument::Compact) + '\n') < 0)
        return error(500, "InternalError", QStringLiteral("The message could not be stored"));

    const QJsonObject accepted{
        {QStringLiteral("groupId"), randomId('G')},
        {QStringLiteral("messageId"), randomId('M')},
        {QStringLiteral("accountId"), QStringLiteral("00000000000000")},
        {QStringLiteral("statusMessage"), QStringLiteral("정상 접수(이통사로 접수 예정)")},
        {QStringLiteral("statusCode"), QStringLiteral("2000")},
        {QStringLiteral("to"), to},
        {QStringLiteral("from"), from},
        {QStringLiteral("type"), type},
        {QStringLiteral("country"), QStringLiteral("82")},
    };
    return {200, QJsonDocument(accepted).toJson(QJsonDocument::Compact)};
}

} // namespace vantorel::smsgateway

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QSslServer>
#include <QString>

#include <optional>

class QSslSocket;

namespace vantorel::smsgateway {

struct GatewayOptions {
    QString apiKey;
    QString apiSecret;
    // The one sender number registered with this account.
    QString sender;
    // Accepted messages are appended here, one JSON object a line.
    QString logFile;
};

// One HTTP request as it came over the wire.
struct HttpRequest {
    QByteArray method;
    QByteArray path;
    // Header names in lower case.
    QHash<QByteArray, QByteArray> headers;
    QByteArray body;
};

// The request line and headers of a request (the text before the blank line),
// or nothing when they are malformed.
std::optional<HttpRequest> parseHead(const QByteArray& head);

struct HttpAnswer {
    int status = 200;
    QByteArray body;
};

// A stand-in for the SMS gateway's single-message endpoint, over HTTPS: checks a
// request the way the real service does and logs every message it accepts.
class GatewayServer : public QSslServer {
public:
    explicit GatewayServer(GatewayOptions options);

    // Loads the PEM certificate and key the server presents; false with the
    // reason in errorText() when either cannot be read.
    bool useCertificate(const QString& certFile, const QString& keyFile);
    QString errorText() const { return m_error; }

    HttpAnswer answer(const HttpRequest& request, const QDateTime& now);

private:
    void serve(QSslSocket* socket);
    HttpAnswer accept(const QJsonObject& message, const QDateTime& now);

    GatewayOptions m_options;
    // Signatures seen in the last 15 minutes, with when they were seen.
    QHash<QString, QDateTime> m_signatures;
    QString m_error;
};

} // namespace vantorel::smsgateway

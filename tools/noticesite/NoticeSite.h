#pragma once

#include <QObject>
#include <QSslConfiguration>
#include <QSslServer>
#include <QTcpServer>

class QTcpSocket;

namespace vantorel::noticesite {

// The service's web site as far as the program uses it: the notice check over
// plain HTTP, answering "EXISTS" while the flag file exists and "NONE" otherwise,
// and a short notice page over HTTPS. Other paths are not found.
class NoticeSite : public QObject {
public:
    NoticeSite(QString flagFile, const QSslConfiguration& tls);

    // Throws std::runtime_error when a port cannot be taken; 0 lets the system pick.
    void listen(const QHostAddress& address, quint16 httpPort, quint16 httpsPort);
    quint16 httpPort() const { return m_http.serverPort(); }
    quint16 httpsPort() const { return m_https.serverPort(); }

private:
    enum class Scheme { Http, Https };
    void accept(QTcpServer& server, Scheme scheme);
    void serve(QTcpSocket* socket, Scheme scheme);

    QString m_flagFile;
    QTcpServer m_http;
    QSslServer m_https;
};

} // namespace vantorel::noticesite

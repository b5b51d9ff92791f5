#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>

namespace vantorel::test {

// A loopback HTTP server on a port the system picks. It answers every request
// with the one reply the test set, and keeps each request's first line.
class HttpReplyServer : public QObject {
public:
    HttpReplyServer();

    quint16 port() const { return m_server.serverPort(); }
    void setReply(int status, const QByteArray& body);
    const QList<QByteArray>& requestLines() const { return m_requestLines; }

private:
    void answer(QTcpSocket* socket);

    QTcpServer m_server;
    int m_status = 200;
    QByteArray m_body;
    QList<QByteArray> m_requestLines;
};

} // namespace vantorel::test

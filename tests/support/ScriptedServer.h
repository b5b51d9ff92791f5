#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace vantorel::test {

// A loopback TCP server whose replies the test writes byte by byte, so that any
// frame, well-formed or not, can be sent. It keeps every byte it receives.
class ScriptedServer : public QObject {
public:
    // Port 0 lets the system choose; a restart passes the old port.
    explicit ScriptedServer(quint16 port = 0);

    quint16 port() const { return m_port; }
    QByteArray received() const { return m_received; }
    int connections() const { return m_connections; }
    bool hasClient() const {
        return !m_client.isNull() && m_client->state() == QAbstractSocket::ConnectedState;
    }

    // Writes to the newest client.
    void send(const QByteArray& bytes);
    void dropClient();
    void close();

private:
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    QByteArray m_received;
    int m_connections = 0;
    quint16 m_port = 0;
};

// Reply frames, as a data server writes them.
QByteArray fileFrame(const QByteArray& nameField, const QByteArray& content);
QByteArray fileFrameWithLength(const QByteArray& nameField, qint64 length, const QByteArray& content);
QByteArray erroFrame();
// A 256-byte name field: the bytes, then zero bytes.
QByteArray nameBytes(const QByteArray& name);

} // namespace vantorel::test

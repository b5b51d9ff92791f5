#include "support/ScriptedServer.h"

#include "snapshots/Frames.h"

#include <stdexcept>

namespace vantorel::test {

ScriptedServer::ScriptedServer(quint16 port) {
    if (!m_server.listen(QHostAddress::LocalHost, port))
        throw std::runtime_error("cannot listen: " + m_server.errorString().toStdString());
    m_port = m_server.serverPort();
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            ++m_connections;
            m_client = s;
            connect(s, &QTcpSocket::readyRead, this, [this, s] { m_received += s->readAll(); });
        }
    });
}

void ScriptedServer::send(const QByteArray& bytes) {
    if (m_client)
        m_client->write(bytes);
}

void ScriptedServer::dropClient() {
    if (m_client)
        m_client->abort();
}

void ScriptedServer::close() {
    dropClient();
    m_server.close();
}

QByteArray nameBytes(const QByteArray& name) {
    QByteArray field = name.left(frames::kNameSize);
    field.append(frames::kNameSize - field.size(), '\0');
    return field;
}

QByteArray fileFrameWithLength(const QByteArray& nameField, qint64 length, const QByteArray& content) {
    return QByteArray("[FILE]") + nameField + frames::encodeLength(length) + content;
}

QByteArray fileFrame(const QByteArray& nameField, const QByteArray& content) {
    return fileFrameWithLength(nameField, content.size(), content);
}

QByteArray erroFrame() {
    return QByteArray("[ERRO]") + nameBytes("no such file");
}

} // namespace vantorel::test

#include "support/HttpReplyServer.h"

#include <QTcpSocket>

#include <stdexcept>

namespace vantorel::test {

HttpReplyServer::HttpReplyServer() {
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("cannot listen: " + m_server.errorString().toStdString());
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

void HttpReplyServer::setReply(int status, const QByteArray& body) {
    m_status = status;
    m_body = body;
}

void HttpReplyServer::answer(QTcpSocket* socket) {
    // A GET has no body: the request is whole once its headers end.
    const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n"))
        return;
    m_requestLines << request.left(request.indexOf("\r\n"));
    const QByteArray reason = m_status / 100 == 2 ? "OK" : "Failed";
    socket->write("HTTP/1.1 " + QByteArray::number(m_status) + ' ' + reason +
                  "\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(m_body.size()) +
                  "\r\nConnection: close\r\n\r\n" + m_body);
    socket->disconnectFromHost();
}

} // namespace vantorel::test

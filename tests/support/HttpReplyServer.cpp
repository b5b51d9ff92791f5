#include "support/HttpReplyServer.h"

#include "HttpReply.h"

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
    socket->write(httpReply(m_status, "text/plain", m_body));
    socket->disconnectFromHost();
}

} // namespace vantorel::test

#include "NoticeSite.h"
#include "HttpReply.h"

#include <QFileInfo>
#include <QSslSocket>

#include <cstdio>
#include <stdexcept>

namespace vantorel::noticesite {

namespace {

const QByteArray kNoticePage = R"(<!DOCTYPE html>
<html lang="ko">
<head>
<meta charset="utf-8">
<title>모르윅 공지사항</title>
<style>
body { font-family: "NanumGothic", sans-serif; max-width: 40em; margin: 3em auto; line-height: 1.6; }
h1 { color: #1f3a68; }
</style>
</head>
<body>
<h1>공지사항</h1>
<p><strong>서비스 점검 안내</strong></p>
<p>더 안정된 서비스를 위해 이번 주 토요일 02:00부터 06:00까지 서버 점검을 합니다.
점검하는 동안에는 로그인과 자료 받기가 잠시 되지 않습니다.</p>
<p>이용에 불편을 드려 죄송합니다. 늘 모르윅을 이용해 주셔서 감사합니다.</p>
</body>
</html>
)";

struct Reply {
    int status;
    QByteArray type;
    QByteArray body;
};

void send(QTcpSocket* socket, const Reply& reply) {
    socket->write(httpReply(reply.status, reply.type, reply.body));
    socket->disconnectFromHost();
}

} // namespace

NoticeSite::NoticeSite(QString flagFile, const QSslConfiguration& tls)
    : m_flagFile(std::move(flagFile)) {
    m_https.setSslConfiguration(tls);
    connect(&m_http, &QTcpServer::pendingConnectionAvailable, this, [this] { accept(m_http, Scheme::Http); });
    connect(&m_https, &QTcpServer::pendingConnectionAvailable, this,
            [this] { accept(m_https, Scheme::Https); });
}

void NoticeSite::listen(const QHostAddress& address, quint16 httpPort, quint16 httpsPort) {
    if (!m_http.listen(address, httpPort))
        throw std::runtime_error("cannot listen for HTTP: " + m_http.errorString().toStdString());
    if (!m_https.listen(address, httpsPort))
        throw std::runtime_error("cannot listen for HTTPS: " + m_https.errorString().toStdString());
}

void NoticeSite::accept(QTcpServer& server, Scheme scheme) {
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, scheme] { serve(socket, scheme); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            serve(socket, scheme);
    }
}

void NoticeSite::serve(QTcpSocket* socket, Scheme scheme) {
    // The requests this site knows have no body: one is whole once its headers end.
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    const qsizetype end = request.indexOf("\r\n\r\n");
    if (end < 0) {
        if (request.size() > 16 * 1024)
            send(socket, {431, "text/plain", "too large\n"});
        return;
    }
    const QList<QByteArray> line = request.left(request.indexOf("\r\n")).split(' ');
    const QByteArray method = line.value(0);
    const QByteArray path = line.value(1).split('?').value(0);

    Reply reply{404, "text/plain; charset=utf-8", "not found\n"};
    if (scheme == Scheme::Http && path == "/community/notice_check.asp") {
        const bool pending = QFileInfo::exists(m_flagFile);
        reply = {200, "text/plain; charset=utf-8", pending ? "EXISTS" : "NONE"};
    } else if (scheme == Scheme::Https && path == "/community/notice.asp") {
        reply = {200, "text/html; charset=utf-8", kNoticePage};
    }
    if (reply.status == 200 && method != "GET")
        reply = {405, "text/plain; charset=utf-8", "GET only\n"};
    // The log says what each check answered.
    const bool check = reply.status == 200 && scheme == Scheme::Http;
    std::printf("%s %s %s -> %d%s%s\n", scheme == Scheme::Http ? "http" : "https", method.constData(),
                path.constData(), reply.status, check ? " " : "", check ? reply.body.constData() : "");
    std::fflush(stdout);
    send(socket, reply);
}

} // namespace vantorel::noticesite

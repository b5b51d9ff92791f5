#include "DataServer.h"

#include "Envelope.h"
#include "snapshots/Frames.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTcpSocket>

namespace vantorel::dataserver {

namespace fr = vantorel::frames;

DataServer::DataServer(ServerOptions options, QObject* parent)
    : QObject(parent)
    , m_options(std::move(options)) {
    if (m_options.synthetic)
        m_day = std::make_unique<SyntheticDay>(m_options.stocks, m_options.seed);
    if (m_options.clockFrom)
        m_running.emplace(*m_options.clockFrom);
    connect(&m_server, &QTcpServer::newConnection, this, &DataServer::onNewConnection);
}

bool DataServer::listen(const QHostAddress& address, quint16 port) {
    return m_server.listen(address, port);
}

QDateTime DataServer::now() const {
    if (m_options.now)
        return *m_options.now;
    return m_running ? m_running->now() : QDateTime::currentDateTime();
}

void DataServer::onNewConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void DataServer::onReadyRead(QTcpSocket* socket) {
    // A stalled connection answers nothing more.
    if (socket->property("stalled").toBool()) {
        socket->readAll();
        return;
    }
    while (socket->bytesAvailable() >= fr::kRequestSize &&
           socket->state() == QAbstractSocket::ConnectedState) {
        const QByteArray frame = socket->read(fr::kRequestSize);
        if (!frame.startsWith(fr::kRequestTag)) {
            socket->disconnectFromHost();
            return;
        }
        answer(socket, fr::nameFromField(QByteArrayView(frame).sliced(fr::kHeaderSize)));
        if (socket->property("stalled").toBool())
            return;
    }
}

std::optional<QByteArray> DataServer::fileFor(const QString& name) {
    if (!fr::refusalReason(name).isEmpty())
        return std::nullopt;
    if (!m_options.synthetic) {
        QFile file(QDir(m_options.root).filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }
    static const QRegularExpression pattern(QStringLiteral("^([BS])(\\d{8})_(\\d{2})(\\d{2})\\.dat$"));
    const auto match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date = QDate::fromString(match.captured(2), QStringLiteral("yyyyMMdd"));
    const QTime time(match.captured(3).toInt(), match.captured(4).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const int minute = (time.hour() - 9) * 60 + time.minute();
    if (minute < 0 || minute >= kMinutesPerDay)
        return std::nullopt;
    // A minute is published once it has begun.
    if (QDateTime(date, time) > now())
        return std::nullopt;
    if (auto it = m_cache.constFind(name); it != m_cache.constEnd())
        return *it;
    if (m_cache.size() > 1000)
        m_cache.clear();
    const QByteArray file = encodeEnvelope(m_day->payload(match.captured(1).at(0), date, minute));
    m_cache.insert(name, file);
    return file;
}

void DataServer::answer(QTcpSocket* socket, const QString& name) {
    const auto file = fileFor(name);
    if (!file) {
        socket->write(fr::kErrorTag.data(), fr::kHeaderSize);
        socket->write(fr::nameField(QStringLiteral("File not found: ") + name));
        return;
    }
    if (m_options.fault == Fault::BadHeader)
        socket->write("[file]");
    socket->write(fr::kFileTag.data(), fr::kHeaderSize);
    socket->write(fr::nameField(name));
    socket->write(fr::encodeLength(file->size()));
    if (m_options.fault == Fault::Cut || m_options.fault == Fault::Stall) {
        socket->write(file->left(file->size() / 2));
        if (m_options.fault == Fault::Cut) {
            socket->disconnectFromHost();
        } else {
            socket->setProperty("stalled", true);
        }
        return;
    }
    socket->write(*file);
}

} // namespace vantorel::dataserver

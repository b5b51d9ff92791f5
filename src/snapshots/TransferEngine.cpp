#include "snapshots/TransferEngine.h"

#include "snapshots/Frames.h"

#include <QDir>

#include <utility>

#include <algorithm>
#include <filesystem>

namespace vantorel {

namespace {

constexpr qint64 kChunk = 4096;
constexpr int kLongestRetryDelay = 30000;
constexpr qint64 kReadBuffer = 64 * 1024;

QString partName(const QString& path) {
    return path + QLatin1String(".part");
}

} // namespace

TransferEngine::TransferEngine(QString host, quint16 port, QString dataFolder, QObject* parent)
    : QObject(parent)
    , m_host(std::move(host))
    , m_port(port)
    , m_folder(QDir::cleanPath(std::move(dataFolder))) {
    // Bytes wait in the kernel rather than pile up here while a reply is written out.
    m_socket.setReadBufferSize(kReadBuffer);
    m_stallTimer.setSingleShot(true);
    m_stallTimer.setInterval(10000);
    m_reconnectTimer.setSingleShot(true);
    connect(&m_socket, &QTcpSocket::connected, this, &TransferEngine::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &TransferEngine::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TransferEngine::onSocketError);
    connect(&m_socket, &QTcpSocket::disconnected, this, &TransferEngine::onDisconnected);
    connect(&m_stallTimer, &QTimer::timeout, this, &TransferEngine::onStall);
    connect(&m_reconnectTimer, &QTimer::timeout, this, [this] {
        if (m_running && m_socket.state() == QAbstractSocket::UnconnectedState)
            m_socket.connectToHost(m_host, m_port);
    });
}

TransferEngine::~TransferEngine() {
    stop();
}

void TransferEngine::start() {
    m_running = true;
    m_opening = true;
    m_retryDelay = m_firstRetryDelay;
    m_socket.connectToHost(m_host, m_port);
}

void TransferEngine::stop() {
    m_running = false;
    m_opening = false;
    m_waiting.clear();
    m_reconnectTimer.stop();
    m_stallTimer.stop();
    dropConnection();
    dropReply();
}

void TransferEngine::dropConnection() {
    // Closing it ourselves is no loss to report.
    m_droppedByUs = true;
    m_socket.abort();
    m_droppedByUs = false;
}

void TransferEngine::dropReply() {
    abandonFile();
    m_state = State::Header;
    m_field.clear();
}

bool TransferEngine::isConnected() const {
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

bool TransferEngine::request(const QString& name) {
    if (m_socket.state() == QAbstractSocket::ConnectedState) {
        if (m_socket.write(frames::kRequestTag.data(), frames::kHeaderSize) != frames::kHeaderSize ||
            m_socket.write(frames::nameField(name)) != frames::kNameSize) {
            sendFailed(m_socket.errorString());
            return false;
        }
        return true;
    }
    // Asked for while the first connection is being opened: sent once it is.
    // Later, while a lost connection is opened again, nothing waits: whoever
    // asks learns of the loss and asks again once it is back.
    if (m_opening) {
        m_waiting << name;
        return true;
    }
    sendFailed(m_socket.error() == QAbstractSocket::UnknownSocketError ? QStringLiteral("Not connected.")
                                                                       : m_socket.errorString());
    return false;
}

void TransferEngine::reportLoss(const QString& reason) {
    m_opening = false;
    m_waiting.clear();
    if (m_lossSignalled)
        return;
    m_lossSignalled = true;
    emit connectionLost(reason);
}

void TransferEngine::sendFailed(const QString& text) {
    if (m_sendFailureShown)
        return;
    m_sendFailureShown = true;
    emit notice(QStringLiteral("Error sending file request: ") + text);
}

void TransferEngine::onConnected() {
    m_everConnected = true;
    m_lossReported = false;
    m_lossSignalled = false;
    m_sendFailureShown = false;
    m_retryDelay = m_firstRetryDelay;
    m_opening = false;
    for (const QString& name : std::exchange(m_waiting, {}))
        request(name);
    emit connected();
}

void TransferEngine::onSocketError(QAbstractSocket::SocketError) {
    if (m_droppedByUs || !m_running)
        return;
    // A failed attempt to connect ends here; a lost connection also passes
    // through onDisconnected, which reports it.
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        return;
    if (!m_everConnected && !m_lossReported) {
        m_lossReported = true;
        emit startFailed(m_socket.errorString());
    }
    reportLoss(m_socket.errorString());
    scheduleReconnect();
}

void TransferEngine::onDisconnected() {
    if (m_droppedByUs || !m_running)
        return;
    m_stallTimer.stop();
    const bool wasMidReply = midReply();
    dropReply();
    if (!m_lossReported) {
        m_lossReported = true;
        const QString why = m_socket.error() == QAbstractSocket::RemoteHostClosedError ||
                                    m_socket.error() == QAbstractSocket::UnknownSocketError
                                ? QStringLiteral("The server closed the connection.")
                                : m_socket.errorString();
        emit notice(QStringLiteral("Connection to the data server lost: ") + why);
    }
    reportLoss(m_socket.errorString());
    if (wasMidReply)
        emit replyHandled({TransferReply::Outcome::Failed, m_name, m_received});
    scheduleReconnect();
}

void TransferEngine::scheduleReconnect() {
    if (!m_running || m_reconnectTimer.isActive())
        return;
    m_reconnectTimer.start(m_retryDelay);
    emit retryScheduled(m_retryDelay);
    m_retryDelay = std::min(m_retryDelay * 2, kLongestRetryDelay);
}

void TransferEngine::onStall() {
    if (!midReply())
        return;
    emit notice(QStringLiteral("Error receiving file: Read timed out."));
    dropReply();
    // Where the stalled reply would have ended is unknown: start afresh on a new
    // connection rather than read the rest as new replies.
    dropConnection();
    reportLoss(QStringLiteral("Read timed out."));
    emit replyHandled({TransferReply::Outcome::Failed, m_name, m_received});
    scheduleReconnect();
}

bool TransferEngine::readField(qsizetype size) {
    const qsizetype want = size - m_field.size();
    m_field += m_socket.read(want);
    return m_field.size() == size;
}

void TransferEngine::onReadyRead() {
    while (m_socket.bytesAvailable() > 0) {
        switch (m_state) {
        case State::Header:
            if (readField(frames::kHeaderSize))
                handleHeader();
            break;
        case State::ErrorField:
            if (readField(frames::kNameSize)) {
                m_field.clear();
                m_state = State::Header;
                emit replyHandled({TransferReply::Outcome::ServerError, {}, 0});
            }
            break;
        case State::NameField:
            if (readField(frames::kNameSize))
                handleName();
            break;
        case State::Length:
            if (readField(frames::kLengthSize))
                handleLength();
            break;
        case State::Content:
        case State::Drain:
            readContent();
            break;
        }
    }
    if (midReply())
        m_stallTimer.start();
    else
        m_stallTimer.stop();
}

void TransferEngine::handleHeader() {
    const QByteArray header = std::exchange(m_field, {});
    m_name.clear();
    m_received = 0;
    if (header == frames::kFileTag) {
        m_state = State::NameField;
    } else if (header == frames::kErrorTag) {
        m_state = State::ErrorField;
    } else {
        emit replyHandled({TransferReply::Outcome::UnknownHeader, {}, 0});
    }
}

void TransferEngine::handleName() {
    m_name = frames::nameFromField(std::exchange(m_field, {}));
    m_state = State::Length;
    m_store = false;
    if (const QString reason = frames::refusalReason(m_name); !reason.isEmpty()) {
        emit notice(QStringLiteral("Error receiving file: ") + reason);
        m_drainOutcome = TransferReply::Outcome::Refused;
        return;
    }
    if (!QDir().mkpath(m_folder)) {
        emit notice(QStringLiteral("Failed to create directory: ") + m_folder + QLatin1Char('/'));
        m_drainOutcome = TransferReply::Outcome::Failed;
        return;
    }
    m_store = true;
}

void TransferEngine::handleLength() {
    m_remaining = std::max<qint64>(0, frames::decodeLength(std::exchange(m_field, {})));
    if (m_store) {
        const QString path = QDir(m_folder).filePath(m_name);
        m_file = std::make_unique<QFile>(partName(path));
        if (!m_file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            emit notice(QStringLiteral("Error receiving file: ") + m_file->errorString());
            m_file.reset();
            m_store = false;
            m_drainOutcome = TransferReply::Outcome::Failed;
        }
    }
    m_state = m_store ? State::Content : State::Drain;
    if (m_remaining == 0)
        finishReply(m_store ? TransferReply::Outcome::Stored : m_drainOutcome);
}

void TransferEngine::readContent() {
    const qint64 chunk = std::min({kChunk, m_remaining, m_socket.bytesAvailable()});
    const QByteArray bytes = m_socket.read(chunk);
    m_remaining -= bytes.size();
    m_received += bytes.size();
    if (m_state == State::Content && m_file->write(bytes) != bytes.size()) {
        // Out of disk, say: say so once and read the rest of the reply away.
        emit notice(QStringLiteral("Error receiving file: ") + m_file->errorString());
        abandonFile();
        m_state = State::Drain;
        m_drainOutcome = TransferReply::Outcome::Failed;
    }
    if (m_remaining == 0)
        finishReply(m_state == State::Content ? TransferReply::Outcome::Stored : m_drainOutcome);
}

void TransferEngine::finishReply(TransferReply::Outcome outcome) {
    if (outcome == TransferReply::Outcome::Stored) {
        const QString part = m_file->fileName();
        const QString path = QDir(m_folder).filePath(m_name);
        m_file->close();
        const bool written = m_file->error() == QFileDevice::NoError;
        m_file.reset();
        std::error_code error;
        if (written)
            std::filesystem::rename(part.toStdU16String(), path.toStdU16String(), error);
        if (!written || error) {
            QFile::remove(part);
            emit notice(QStringLiteral("Error receiving file: ") +
                        (written ? QString::fromLocal8Bit(error.message()) : QStringLiteral("write failed")));
            outcome = TransferReply::Outcome::Failed;
        }
    }
    m_state = State::Header;
    emit replyHandled({outcome, m_name, m_received});
}

void TransferEngine::abandonFile() {
    if (!m_file)
        return;
    const QString part = m_file->fileName();
    m_file->close();
    m_file.reset();
    QFile::remove(part);
}

} // namespace vantorel

#pragma once

#include "SyntheticDay.h"
#include "common/Clock.h"

#include <QDateTime>
#include <QHash>
#include <QTcpServer>

#include <memory>
#include <optional>

class QTcpSocket;

namespace vantorel::dataserver {

// Faults to put a client through: cut the connection in the middle of a file,
// stall in the middle of a file, or send a header no client knows first.
enum class Fault { None, Cut, Stall, BadHeader };

struct ServerOptions {
    QString root;           // serve the files of this folder, or
    bool synthetic = false; // make snapshots on request
    int stocks = 2500;
    std::uint64_t seed = 1;
    std::optional<QDateTime> now;       // a fixed clock, or
    std::optional<QDateTime> clockFrom; // a clock that starts there and runs; the system clock otherwise
    Fault fault = Fault::None;
};

// Answers each 262-byte request frame with one "[FILE]" or "[ERRO]" frame.
// Any number of clients at once.
class DataServer : public QObject {
    Q_OBJECT
public:
    explicit DataServer(ServerOptions options, QObject* parent = nullptr);

    bool listen(const QHostAddress& address, quint16 port);
    quint16 port() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }

    // The stored form of a file, or nothing when there is no such file (yet).
    std::optional<QByteArray> fileFor(const QString& name);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QString& name);
    QDateTime now() const;

    ServerOptions m_options;
    std::optional<ShiftedClock> m_running;
    QTcpServer m_server;
    std::unique_ptr<SyntheticDay> m_day;
    QHash<QString, QByteArray> m_cache;
};

} // namespace vantorel::dataserver

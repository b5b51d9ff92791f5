#pragma once

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace vantorel {

// What became of one reply from the data server.
struct TransferReply {
    enum class Outcome {
        Stored,        // the file is in the data folder under its name
        ServerError,   // "[ERRO]": the server has no such file (yet)
        UnknownHeader, // six bytes that are no known header, consumed and ignored
        Refused,       // a name that would leave the data folder; content discarded
        Failed,        // the folder, the disk or the connection failed
    };
    Outcome outcome = Outcome::Failed;
    QString name;
    qint64 bytes = 0;
};

// The one connection to the data server. Requests are written at once; replies
// are parsed as their bytes arrive, on the thread that owns the engine, so that
// thread never waits on the network. Content goes to disk in pieces of at most
// 4096 bytes under a temporary name and is renamed to its own name only when
// complete. A lost connection is reported once and opened again, first after a
// second, then backing off to every 30 s.
class TransferEngine : public QObject {
    Q_OBJECT
public:
    TransferEngine(QString host, quint16 port, QString dataFolder, QObject* parent = nullptr);
    ~TransferEngine() override;

    void start();
    void stop();
    bool isConnected() const;

    // Sends one request frame; while the first connection is being opened,
    // once it is. False when it cannot go out: the failure is reported through
    // notice() once until the connection is back, never thrown.
    bool request(const QString& name);

    // How long a reply's bytes may stall before the reply is given up (10 s).
    void setStallTimeout(int ms) { m_stallTimer.setInterval(ms); }
    // The first delay before opening a lost connection again (1 s).
    void setFirstRetryDelay(int ms) { m_firstRetryDelay = ms; }

signals:
    void replyHandled(const vantorel::TransferReply& reply);
    // A message for the member.
    void notice(const QString& text);
    // The very first connection attempt failed: the program's start-up error.
    void startFailed(const QString& text);
    void connected();
    // The connection broke, was given up, or could not be opened: once, until
    // it is back. Whatever was asked for and not yet answered will not be.
    void connectionLost(const QString& reason);
    // The next attempt to connect comes after this delay.
    void retryScheduled(int delayMs);

private:
    enum class State { Header, ErrorField, NameField, Length, Content, Drain };

    void onConnected();
    void onReadyRead();
    void onSocketError(QAbstractSocket::SocketError error);
    void onDisconnected();
    void onStall();
    void scheduleReconnect();

    bool readField(qsizetype size);
    void handleHeader();
    void handleName();
    void handleLength();
    void readContent();
    void finishReply(TransferReply::Outcome outcome);
    void abandonFile();
    // Forgets the reply being read, its part file included.
    void dropReply();
    void dropConnection();
    void sendFailed(const QString& text);
    void reportLoss(const QString& reason);
    bool midReply() const { return m_state != State::Header || !m_field.isEmpty(); }

    QString m_host;
    quint16 m_port;
    QString m_folder;
    QTcpSocket m_socket;
    QTimer m_stallTimer;
    QTimer m_reconnectTimer;
    int m_firstRetryDelay = 1000;
    int m_retryDelay = 1000;
    bool m_running = false;
    bool m_everConnected = false;
    bool m_lossReported = false;
    bool m_sendFailureShown = false;
    bool m_droppedByUs = false;
    bool m_lossSignalled = false;
    // The first connection is being opened; what is asked for meanwhile waits.
    bool m_opening = false;
    QStringList m_waiting;

    // The reply being read.
    State m_state = State::Header;
    QByteArray m_field;
    QString m_name;
    bool m_store = false;
    TransferReply::Outcome m_drainOutcome = TransferReply::Outcome::Failed;
    qint64 m_remaining = 0;
    qint64 m_received = 0;
    std::unique_ptr<QFile> m_file;
};

} // namespace vantorel

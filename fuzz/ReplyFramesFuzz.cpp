// Reply frames: bytes from the data server, delivered whole or in pieces over a
// real loopback connection. Nothing is created outside the data folder, no
// ".part" is left, exactly the complete replies with acceptable names are
// stored, and each stored file holds the announced bytes.

#include "FuzzSupport.h"
#include "snapshots/Frames.h"
#include "snapshots/TransferEngine.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

using namespace vantorel;

namespace {

constexpr qsizetype kLongestStorableName = 255 - 5;

struct Expected {
    QString name;
    QByteArray content;
};

// The replies the stream completes, read the plain way: the stored ones.
QList<Expected> completeReplies(const QByteArray& stream) {
    QList<Expected> stored;
    qsizetype at = 0;
    while (stream.size() - at >= frames::kHeaderSize) {
        const QByteArray header = stream.mid(at, frames::kHeaderSize);
        at += frames::kHeaderSize;
        if (header == frames::kErrorTag) {
            at += frames::kNameSize;
        } else if (header == frames::kFileTag) {
            if (stream.size() - at < frames::kNameSize + frames::kLengthSize)
                break;
            const QString name = frames::nameFromField(QByteArrayView(stream).sliced(at, frames::kNameSize));
            at += frames::kNameSize;
            const qint64 length = std::max<qint64>(
                0, frames::decodeLength(QByteArrayView(stream).sliced(at, frames::kLengthSize)));
            at += frames::kLengthSize;
            if (stream.size() - at < length)
                break;
            // A name the folder cannot hold with its ".part" suffix fails to store.
            if (frames::refusalReason(name).isEmpty() && name.toUtf8().size() <= kLongestStorableName)
                stored.append({name, stream.mid(at, length)});
            at += length;
        }
    }
    return stored;
}

void spin(const std::function<bool()>& until) {
    QDeadlineTimer deadline(5000);
    while (!until() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    fuzz::check(until(), "the loopback exchange finished in time");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const quint8* data, size_t size) {
    fuzz::ensureApplication();
    static QTcpServer* server = [] {
        auto* s = new QTcpServer;
        fuzz::check(s->listen(QHostAddress::LocalHost, 0), "loopback server listens");
        return s;
    }();
    // 0: the whole stream at once; otherwise pieces of that many bytes.
    const int piece = fuzz::takeByte(data, size);
    const QByteArray stream = fuzz::bytes(data, size);

    QTemporaryDir root;
    const QString folder = QDir(root.path()).filePath(QStringLiteral("data"));
    QList<TransferReply> replies;
    bool lost = false;
    {
        TransferEngine engine(QStringLiteral("127.0.0.1"), server->serverPort(), folder);
        QObject::connect(&engine, &TransferEngine::replyHandled,
                         [&](const TransferReply& reply) { replies.append(reply); });
        QObject::connect(&engine, &TransferEngine::connectionLost, [&] { lost = true; });
        bool connected = false;
        QObject::connect(&engine, &TransferEngine::connected, [&] { connected = true; });
        engine.start();
        spin([&] { return connected && server->hasPendingConnections(); });
        QTcpSocket* peer = server->nextPendingConnection();
        for (qsizetype at = 0; at < stream.size();) {
            const qsizetype n = piece == 0 ? stream.size() : std::min<qsizetype>(piece, stream.size() - at);
            peer->write(stream.constData() + at, n);
            peer->flush();
            at += n;
            QCoreApplication::processEvents();
        }
        peer->disconnectFromHost();
        spin([&] { return lost; });
        engine.stop();
        delete peer;
    }

    const QStringList outside =
        QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    fuzz::check(outside.isEmpty() || outside == QStringList{QStringLiteral("data")},
                "nothing is created outside the data folder", outside.join(u' '));

    const QList<Expected> expected = completeReplies(stream);
    QList<Expected> stored;
    for (const TransferReply& reply : replies) {
        if (reply.outcome == TransferReply::Outcome::Stored)
            stored.append({reply.name, {}});
    }
    fuzz::check(stored.size() == expected.size(), "exactly the complete replies are stored",
                QStringLiteral("%1 of %2").arg(stored.size()).arg(expected.size()));
    QHash<QString, QByteArray> last;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        fuzz::check(stored[i].name == expected[i].name, "replies are stored in order", stored[i].name);
        last.insert(expected[i].name, expected[i].content);
    }

    const QDir dataDir(folder);
    const QStringList files = dataDir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& file : files) {
        fuzz::check(last.contains(file), "every file in the data folder is a stored reply (no .part)", file);
        QFile f(dataDir.filePath(file));
        fuzz::check(f.open(QIODevice::ReadOnly) && f.readAll() == last.value(file),
                    "a stored file holds the announced bytes", file);
    }
    fuzz::check(files.size() == last.size(), "every stored reply is in the data folder");
    return 0;
}

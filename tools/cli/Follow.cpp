#include "Follow.h"

#include "Output.h"
#include "common/Clock.h"
#include "snapshots/DownloadScheduler.h"
#include "snapshots/TransferEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace vantorel::cli {

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM end the event loop, so that the engine is stopped and no
// part file is left behind.
std::unique_ptr<QSocketNotifier> quitOnSignals() {
    if (::pipe(signalPipe) != 0)
        return nullptr;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    auto notifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [] { QCoreApplication::exit(0); });
    return notifier;
}

void printJson(const QJsonObject& object) {
    out(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

QString outcomeName(TransferReply::Outcome outcome) {
    switch (outcome) {
    case TransferReply::Outcome::Stored:
        return QStringLiteral("stored");
    case TransferReply::Outcome::ServerError:
        return QStringLiteral("error");
    case TransferReply::Outcome::Refused:
        return QStringLiteral("refused");
    case TransferReply::Outcome::UnknownHeader:
    case TransferReply::Outcome::Failed:
        break;
    }
    return QStringLiteral("failed");
}

int bad(const QString& text) {
    err(QStringLiteral("vantorel-cli follow: ") + text);
    err(QStringLiteral("usage: vantorel-cli follow --server HOST:PORT --out DIR [--until HH:MM] "
                       "[--clock-from HH:MM[:SS]] [--json]"));
    return 1;
}

} // namespace

int follow(QStringList args, bool json) {
    QString server;
    QString folder;
    QString until = QStringLiteral("15:21");
    QString clockFrom;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        QString* value = a == QLatin1String("--server")       ? &server
                         : a == QLatin1String("--out")        ? &folder
                         : a == QLatin1String("--until")      ? &until
                         : a == QLatin1String("--clock-from") ? &clockFrom
                                                              : nullptr;
        if (!value)
            return bad(QStringLiteral("unknown argument ") + a);
        if (args.isEmpty())
            return bad(a + QStringLiteral(" wants a value"));
        *value = args.takeFirst();
    }
    const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
    bool portOk = false;
    const uint port = colon > 0 ? server.mid(colon + 1).toUInt(&portOk) : 0;
    if (!portOk || port == 0 || port > 65535)
        return bad(QStringLiteral("--server wants HOST:PORT"));
    if (folder.isEmpty())
        return bad(QStringLiteral("--out wants a folder"));

    std::unique_ptr<Clock> clock;
    if (clockFrom.isEmpty()) {
        clock = std::make_unique<SystemClock>();
    } else {
        const std::optional<QDateTime> start = timeOfDay(clockFrom, QDate::currentDate());
        if (!start)
            return bad(QStringLiteral("--clock-from wants HH:MM or HH:MM:SS"));
        clock = std::make_unique<ShiftedClock>(*start);
    }
    const std::optional<QDateTime> end = timeOfDay(until, clock->now().date());
    if (!end || until.size() != 5)
        return bad(QStringLiteral("--until wants HH:MM"));

    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
        return bad(QStringLiteral("cannot write into the folder ") + folder);

    TransferEngine engine(server.left(colon), quint16(port), folder);
    // Requests on their way; none once the connection is down, as their
    // answers will not come.
    int outstanding = 0;
    bool down = false;
    DownloadScheduler scheduler(*clock, folder, [&](const QString& name) {
        engine.request(name);
        if (!down)
            ++outstanding;
    });

    const auto endIfDone = [&] {
        // At --until, once the answers still expected are in: a day followed
        // after the close gets its whole backlog first.
        if (clock->now() >= *end && scheduler.backlogRun == 1 && (outstanding == 0 || down))
            QCoreApplication::exit(0);
    };
    QObject::connect(&engine, &TransferEngine::connected, [&] {
        down = false;
        if (json)
            printJson(
                {{QStringLiteral("event"), QStringLiteral("connected")}, {QStringLiteral("server"), server}});
        else
            out(QStringLiteral("connected to ") + server);
        scheduler.connectionOpened();
    });
    QObject::connect(&engine, &TransferEngine::connectionLost, [&](const QString& reason) {
        down = true;
        outstanding = 0;
        if (json)
            printJson(
                {{QStringLiteral("event"), QStringLiteral("lost")}, {QStringLiteral("reason"), reason}});
        else
            out(QStringLiteral("lost: ") + reason);
        scheduler.connectionLost();
    });
    QObject::connect(&engine, &TransferEngine::retryScheduled, [&](int delayMs) {
        if (json)
            printJson(
                {{QStringLiteral("event"), QStringLiteral("retry")}, {QStringLiteral("delayMs"), delayMs}});
        else
            out(QStringLiteral("retry in %1 ms").arg(delayMs));
    });
    QObject::connect(&engine, &TransferEngine::replyHandled, [&](const TransferReply& reply) {
        // A header no one knows answers no request.
        if (reply.outcome == TransferReply::Outcome::UnknownHeader)
            return;
        outstanding = std::max(0, outstanding - 1);
        if (json)
            printJson({{QStringLiteral("name"), reply.name},
                       {QStringLiteral("outcome"), outcomeName(reply.outcome)},
                       {QStringLiteral("bytes"), reply.bytes}});
        else
            out(QStringLiteral("%1 %2 %3").arg(outcomeName(reply.outcome), reply.name).arg(reply.bytes));
        endIfDone();
    });
    QObject::connect(&engine, &TransferEngine::notice, [](const QString& text) { err(text); });

    QTimer endCheck;
    endCheck.setInterval(100);
    QObject::connect(&endCheck, &QTimer::timeout, endIfDone);
    const std::unique_ptr<QSocketNotifier> signalWatch = quitOnSignals();
    if (!signalWatch)
        return bad(QStringLiteral("cannot watch for signals"));

    engine.start();
    scheduler.start();
    endCheck.start();
    const int code = QCoreApplication::exec();
    engine.stop();
    return code;
}

} // namespace vantorel::cli

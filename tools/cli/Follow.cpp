#include "Follow.h"

#include "Common.h"
#include "Output.h"
#include "common/Clock.h"
#include "snapshots/DownloadPlan.h"
#include "snapshots/DownloadScheduler.h"
#include "snapshots/SnapshotFiles.h"
#include "snapshots/TransferEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace vantorel::cli {

namespace {

// How long past --until a follower whose day is not complete waits for the
// data server to come back before it gives up.
constexpr qint64 kGraceMs = 60000;

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

int failure(const QString& text) {
    err(QStringLiteral("vantorel-cli follow: ") + text);
    return 1;
}

int usageError(const QString& text) {
    failure(text);
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
            return usageError(QStringLiteral("unknown argument ") + a);
        if (args.isEmpty())
            return usageError(a + QStringLiteral(" wants a value"));
        *value = args.takeFirst();
    }
    const auto address = parseServer(server);
    if (!address)
        return usageError(QStringLiteral("--server wants HOST:PORT"));
    if (folder.isEmpty())
        return usageError(QStringLiteral("--out wants a folder"));

    std::unique_ptr<Clock> clock;
    if (clockFrom.isEmpty()) {
        clock = std::make_unique<SystemClock>();
    } else {
        const std::optional<QDateTime> start = timeOfDay(clockFrom, QDate::currentDate());
        if (!start)
            return usageError(QStringLiteral("--clock-from wants HH:MM or HH:MM:SS"));
        clock = std::make_unique<ShiftedClock>(*start);
    }
    const std::optional<QDateTime> end = timeOfDay(until, clock->now().date());
    if (!end || until.size() != 5)
        return usageError(QStringLiteral("--until wants HH:MM"));

    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
        return failure(QStringLiteral("cannot write into the folder ") + folder);

    TransferEngine engine(address->first, address->second, folder);
    // The requests on their way, in order: the server answers them in that
    // order, which names the answers that carry no name.
    QStringList asked;
    bool down = false;
    DownloadScheduler scheduler(*clock, folder, [&](const QString& name) {
        if (engine.request(name))
            asked << name;
    });
    QObject::connect(&scheduler.backlogTimer(), &QTimer::timeout, &scheduler,
                     &DownloadScheduler::backlogPass);
    QObject::connect(&scheduler.clockTimer(), &QTimer::timeout, &scheduler, &DownloadScheduler::clockPass);

    const auto dayComplete = [&] {
        const QDir out(folder);
        const QStringList stems = backlogStems(*end);
        return std::all_of(stems.begin(), stems.end(), [&](const QString& stem) {
            return QFileInfo::exists(out.filePath(buyFileName(stem))) &&
                   QFileInfo::exists(out.filePath(sellFileName(stem)));
        });
    };
    const auto endIfDone = [&] {
        // At --until, once the answers still expected are in: a day followed
        // after the close gets its whole backlog first. While the server is
        // away it waits for it a while, unless the day is complete anyway.
        const QDateTime now = clock->now();
        if (now < *end || scheduler.backlogRun != 1)
            return;
        if ((!down && asked.isEmpty()) || dayComplete()) {
            QCoreApplication::exit(0);
        } else if (down && end->msecsTo(now) > kGraceMs) {
            err(QStringLiteral(
                    "vantorel-cli follow: the data server did not come back by %1; the day in %2 is "
                    "incomplete")
                    .arg(now.toString(QStringLiteral("HH:mm:ss")), folder));
            QCoreApplication::exit(1);
        }
    };
    const auto event = [&](const QString& name, const QString& key, const QJsonValue& value,
                           const QString& text) {
        if (json)
            out(orderedJson({{QStringLiteral("event"), name}, {key, value}}));
        else
            out(text);
    };
    QObject::connect(&engine, &TransferEngine::connected, [&] {
        down = false;
        event(QStringLiteral("connected"), QStringLiteral("server"), server,
              QStringLiteral("connected to ") + server);
        scheduler.connectionOpened();
    });
    QObject::connect(&engine, &TransferEngine::connectionLost, [&](const QString& reason) {
        down = true;
        asked.clear();
        event(QStringLiteral("lost"), QStringLiteral("reason"), reason, QStringLiteral("lost: ") + reason);
        scheduler.connectionLost();
    });
    QObject::connect(&engine, &TransferEngine::retryScheduled, [&](int delayMs) {
        event(QStringLiteral("retry"), QStringLiteral("delayMs"), delayMs,
              QStringLiteral("retry in %1 ms").arg(delayMs));
    });
    // The clock pass asks for the current minute until it is there: a minute not
    // published yet is said once, not every 100 ms.
    QSet<QString> saidMissing;
    QObject::connect(&engine, &TransferEngine::replyHandled, [&](const TransferReply& reply) {
        // A header no one knows answers no request.
        if (reply.outcome == TransferReply::Outcome::UnknownHeader)
            return;
        const QString name = reply.name.isEmpty() && !asked.isEmpty() ? asked.first() : reply.name;
        if (!asked.isEmpty())
            asked.removeFirst();
        const bool missing = reply.outcome == TransferReply::Outcome::ServerError;
        const bool again = missing && saidMissing.contains(name);
        if (missing)
            saidMissing.insert(name);
        else
            saidMissing.remove(name);
        if (!again) {
            const QString outcome = outcomeName(reply.outcome);
            if (json)
                out(orderedJson({{QStringLiteral("name"), name},
                                 {QStringLiteral("outcome"), outcome},
                                 {QStringLiteral("bytes"), reply.bytes}}));
            else
                out(QStringLiteral("%1 %2 %3").arg(outcome, name).arg(reply.bytes));
        }
        endIfDone();
    });
    QObject::connect(&engine, &TransferEngine::notice, [](const QString& text) { err(text); });

    QTimer endCheck;
    endCheck.setInterval(100);
    QObject::connect(&endCheck, &QTimer::timeout, endIfDone);
    const std::unique_ptr<QSocketNotifier> signalWatch = quitOnSignals();
    if (!signalWatch)
        return failure(QStringLiteral("cannot watch for signals"));

    engine.start();
    scheduler.start();
    endCheck.start();
    const int code = QCoreApplication::exec();
    engine.stop();
    return code;
}

} // namespace vantorel::cli

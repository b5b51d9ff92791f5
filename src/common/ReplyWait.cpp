#include "common/ReplyWait.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QTimer>

namespace vantorel {

ReplyWait waitForReply(QNetworkReply& reply, int limitMs) {
    QEventLoop loop;
    QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    bool timedOut = false;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    limit.start(limitMs);
    if (!reply.isFinished())
        loop.exec();
    if (reply.isFinished())
        return ReplyWait::Finished;
    reply.abort();
    return timedOut ? ReplyWait::TimedOut : ReplyWait::Cancelled;
}

} // namespace vantorel

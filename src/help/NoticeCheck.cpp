#include "help/NoticeCheck.h"

#include "common/Error.h"
#include "common/ReplyWait.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <memory>

namespace vantorel {

namespace {

QUrl siteUrl(const QString& scheme, const QString& host, quint16 port, const QString& path) {
    QUrl url;
    url.setScheme(scheme);
    url.setHost(host);
    // The scheme's own port is left out, as a member would write the address.
    const quint16 defaultPort = scheme == QLatin1String("https") ? 443 : 80;
    if (port != defaultPort)
        url.setPort(port);
    url.setPath(path);
    return url;
}

} // namespace

QUrl noticeCheckUrl(const Config::Site& site) {
    return siteUrl(QStringLiteral("http"), site.host, site.httpPort,
                   QStringLiteral("/community/notice_check.asp"));
}

QUrl noticePageUrl(const Config::Site& site) {
    return siteUrl(QStringLiteral("https"), site.host, site.httpsPort,
                   QStringLiteral("/community/notice.asp"));
}

void CheckAndOpenBrowser(const Config::Site& site, UrlOpener& opener) {
    if (site.host.isEmpty())
        return;
    const QUrl url = noticeCheckUrl(site);
    // A client of its own for this one request, gone with it.
    QNetworkAccessManager client;
    const std::unique_ptr<QNetworkReply> reply(client.get(QNetworkRequest(url)));

    switch (waitForReply(*reply, site.checkTimeoutMs)) {
    case ReplyWait::Finished:
        break;
    case ReplyWait::TimedOut:
        throw Error(QStringLiteral("%1: no answer within %2 s")
                        .arg(url.toString(), QString::number(site.checkTimeoutMs / 1000.0)));
    case ReplyWait::Cancelled:
        return; // the member closed the window and the program is ending: nothing to report
    }
    if (reply->error() != QNetworkReply::NoError)
        throw Error(reply->errorString());
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299)
        throw Error(QStringLiteral("%1: the server replied %2 %3")
                        .arg(url.toString(), QString::number(status),
                             reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));

    if (QString::fromUtf8(reply->readAll()) == QLatin1String("EXISTS"))
        opener.open(noticePageUrl(site));
}

} // namespace vantorel

#include "help/NoticeCheck.h"
#include "support/NoticeSiteProcess.h"
#include "support/RecordingUrlOpener.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTemporaryDir>

namespace vantorel {
namespace {

struct Answer {
    int status = 0;
    QByteArray type;
    QByteArray body;
    QString error;
};

// One GET with a client of its own that trusts only the site's certificate.
Answer get(const QUrl& url, const QString& certificateFile) {
    QNetworkAccessManager client;
    QNetworkRequest request(url);
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(QSslCertificate::fromPath(certificateFile));
    request.setSslConfiguration(tls);
    request.setTransferTimeout(10000);
    std::unique_ptr<QNetworkReply> reply(client.get(request));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
            reply->header(QNetworkRequest::ContentTypeHeader).toByteArray(), reply->readAll(),
            reply->error() == QNetworkReply::NoError ? QString() : reply->errorString()};
}

class NoticeSite : public ::testing::Test {
protected:
    Config::Site site() const {
        Config::Site s;
        s.host = QStringLiteral("127.0.0.1");
        s.httpPort = m_site.httpPort();
        s.httpsPort = m_site.httpsPort();
        return s;
    }

    QTemporaryDir m_dir;
    test::NoticeSiteProcess m_site{m_dir.path()};
};

TEST_F(NoticeSite, TheCheckFindsANoticeExactlyWhileTheFlagFileExists) {
    test::RecordingUrlOpener opener;
    CheckAndOpenBrowser(site(), opener);
    EXPECT_TRUE(opener.opened.isEmpty());

    m_site.setNoticePending(true);
    CheckAndOpenBrowser(site(), opener);
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_EQ(opener.opened[0], noticePageUrl(site()));

    m_site.setNoticePending(false);
    CheckAndOpenBrowser(site(), opener);
    EXPECT_EQ(opener.opened.size(), 1);
}

TEST_F(NoticeSite, TheNoticePageIsAKoreanPageOverVerifiedHttps) {
    m_site.setNoticePending(true);
    const Answer page = get(noticePageUrl(site()), m_site.certificateFile());
    ASSERT_EQ(page.error, QString());
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.type, "text/html; charset=utf-8");
    EXPECT_TRUE(QString::fromUtf8(page.body).contains(QStringLiteral("공지사항"))) << page.body.toStdString();

    // Each address answers on its own scheme only; other paths are not found.
    QUrl checkOverHttps = noticeCheckUrl(site());
    checkOverHttps.setScheme(QStringLiteral("https"));
    checkOverHttps.setPort(m_site.httpsPort());
    EXPECT_EQ(get(checkOverHttps, m_site.certificateFile()).status, 404);
    QUrl other = noticePageUrl(site());
    other.setPath(QStringLiteral("/community/other.asp"));
    EXPECT_EQ(get(other, m_site.certificateFile()).status, 404);
}

TEST_F(NoticeSite, AClientThatDoesNotTrustTheCertificateGetsNoPage) {
    const Answer page = get(noticePageUrl(site()), QString());
    EXPECT_FALSE(page.error.isEmpty());
    EXPECT_TRUE(page.body.isEmpty());
}

} // namespace
} // namespace vantorel

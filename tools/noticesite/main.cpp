// vantorel-noticesite: the service's web site for the local stack and the
// tests: the notice check over plain HTTP, the notice page over HTTPS.
#include "NoticeSite.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QHostAddress>
#include <QSslKey>

#include <cstdio>

using namespace vantorel::noticesite;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantorel-noticesite"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Answers the notice check and serves the notice page."));
    parser.addHelpOption();
    const QCommandLineOption bind(QStringLiteral("bind"), QStringLiteral("Address to listen on (127.0.0.1)."),
                                  QStringLiteral("ADDR"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption httpPort(QStringLiteral("http-port"),
                                      QStringLiteral("Plain HTTP port (18080; 0 lets the system choose)."),
                                      QStringLiteral("P"), QStringLiteral("18080"));
    const QCommandLineOption httpsPort(QStringLiteral("https-port"),
                                       QStringLiteral("HTTPS port (18444; 0 lets the system choose)."),
                                       QStringLiteral("P"), QStringLiteral("18444"));
    const QCommandLineOption cert(QStringLiteral("cert"), QStringLiteral("The certificate, PEM."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("Its private key, PEM."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption flag(QStringLiteral("flag"),
                                  QStringLiteral("A notice is pending while this file exists."),
                                  QStringLiteral("FILE"));
    parser.addOptions({bind, httpPort, httpsPort, cert, key, flag});
    parser.process(app);

    const auto fail = [](const QString& text) {
        std::fprintf(stderr, "vantorel-noticesite: %s\n", qPrintable(text));
        return 2;
    };
    if (!parser.isSet(cert) || !parser.isSet(key) || !parser.isSet(flag))
        return fail(QStringLiteral("--cert, --key and --flag are needed"));
    const auto port = [&](const QCommandLineOption& option, quint16* value) {
        bool ok = false;
        const uint number = parser.value(option).toUInt(&ok);
        *value = quint16(number);
        return ok && number <= 65535;
    };
    quint16 http = 0;
    quint16 https = 0;
    if (!port(httpPort, &http) || !port(httpsPort, &https))
        return fail(QStringLiteral("a port is a number from 0 to 65535"));
    const QHostAddress address(parser.value(bind));
    if (address.isNull())
        return fail(QStringLiteral("--bind wants an IP address"));

    QFile certFile(parser.value(cert));
    QFile keyFile(parser.value(key));
    if (!certFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read the certificate or its key"));
    const QSslCertificate certificate(&certFile, QSsl::Pem);
    const QSslKey privateKey(&keyFile, QSsl::Rsa, QSsl::Pem);
    if (certificate.isNull() || privateKey.isNull())
        return fail(QStringLiteral("the certificate or its key is not PEM"));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(certificate);
    tls.setPrivateKey(privateKey);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);

    NoticeSite site(parser.value(flag), tls);
    try {
        site.listen(address, http, https);
    } catch (const std::exception& e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
    std::printf("listening on http %s:%u https %s:%u\n", qPrintable(address.toString()), site.httpPort(),
                qPrintable(address.toString()), site.httpsPort());
    std::fflush(stdout);
    return QCoreApplication::exec();
}

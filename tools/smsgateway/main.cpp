// vantorel-smsgateway: a stand-in for the SMS gateway's single-message endpoint,
// over real HTTPS on loopback, for the local stack and the tests.
#include "GatewayServer.h"
#include "common/Config.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include <cstdio>

using namespace vantorel;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantorel-smsgateway"));
    const SmsConfig build = Config::fromBuild().sms;

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks signed POST /messages/v4/send requests as the SMS gateway does and logs what it accepts."));
    parser.addHelpOption();
    const QCommandLineOption bind(QStringLiteral("bind"), QStringLiteral("Address to listen on (127.0.0.1)."),
                                  QStringLiteral("ADDR"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port (18443; 0 lets the system choose)."),
                                  QStringLiteral("P"), QStringLiteral("18443"));
    const QCommandLineOption cert(QStringLiteral("cert"), QStringLiteral("PEM certificate to present."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("PEM private key of the certificate."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Append every accepted message to this file."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption apiKey(QStringLiteral("api-key"), QStringLiteral("API key (the build's)."),
                                    QStringLiteral("KEY"), build.apiKey);
    const QCommandLineOption apiSecret(QStringLiteral("api-secret"),
                                       QStringLiteral("API secret (the build's)."), QStringLiteral("SECRET"),
                                       build.apiSecret);
    const QCommandLineOption sender(QStringLiteral("sender"),
                                    QStringLiteral("Registered sender number (the build's)."),
                                    QStringLiteral("NUMBER"), build.sender);
    parser.addOptions({bind, port, cert, key, log, apiKey, apiSecret, sender});
    parser.process(app);

    const auto fail = [](const QString& text) {
        std::fprintf(stderr, "vantorel-smsgateway: %s\n", qPrintable(text));
        return 2;
    };
    if (!parser.isSet(cert) || !parser.isSet(key) || !parser.isSet(log))
        return fail(QStringLiteral("--cert, --key and --log are required"));
    bool ok = false;
    const uint portNumber = parser.value(port).toUInt(&ok);
    if (!ok || portNumber > 65535)
        return fail(QStringLiteral("--port wants a number from 0 to 65535"));
    const QHostAddress address(parser.value(bind));
    if (address.isNull())
        return fail(QStringLiteral("--bind wants an IP address"));

    smsgateway::GatewayServer server(
        {parser.value(apiKey), parser.value(apiSecret), parser.value(sender), parser.value(log)});
    if (!server.useCertificate(parser.value(cert), parser.value(key)))
        return fail(server.errorText());
    if (!server.listen(address, quint16(portNumber)))
        return fail(server.errorString());
    // Tests and scripts read the port from this line.
    std::printf("listening on %s:%u\n", qPrintable(address.toString()), unsigned(server.serverPort()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}

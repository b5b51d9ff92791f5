// vantorel-dataserver: a data server for development and tests, speaking the
// snapshot frames over plain TCP.
#include "DataServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include <cstdio>

using namespace vantorel;
using namespace vantorel::dataserver;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantorel-dataserver"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves snapshot files by the [REQT]/[FILE]/[ERRO] frames."));
    parser.addHelpOption();
    const QCommandLineOption bind(QStringLiteral("bind"), QStringLiteral("Address to listen on (127.0.0.1)."),
                                  QStringLiteral("ADDR"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port (5000; 0 lets the system choose)."),
                                  QStringLiteral("P"), QStringLiteral("5000"));
    const QCommandLineOption root(QStringLiteral("root"), QStringLiteral("Serve the files of this folder."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption synthetic(
        QStringLiteral("synthetic"), QStringLiteral("Make a realistic trading day of snapshots on request."));
    const QCommandLineOption stocks(QStringLiteral("stocks"), QStringLiteral("Stocks per snapshot (2500)."),
                                    QStringLiteral("N"), QStringLiteral("2500"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the synthetic day (1)."),
                                  QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption now(
        QStringLiteral("now"),
        QStringLiteral("A fixed clock, YYYY-MM-DDTHH:MM:SS (the system clock otherwise)."),
        QStringLiteral("TIME"));
    const QCommandLineOption clockFrom(
        QStringLiteral("clock-from"),
        QStringLiteral("A clock that starts at this time of today and runs at real speed, HH:MM[:SS]."),
        QStringLiteral("TIME"));
    const QCommandLineOption fault(QStringLiteral("fault"),
                                   QStringLiteral("cut | stall | bad-header: misbehave on every file reply."),
                                   QStringLiteral("MODE"));
    parser.addOptions({bind, port, root, synthetic, stocks, seed, now, clockFrom, fault});
    parser.process(app);

    const auto fail = [](const QString& text) {
        std::fprintf(stderr, "vantorel-dataserver: %s\n", qPrintable(text));
        return 2;
    };
    ServerOptions options;
    options.synthetic = parser.isSet(synthetic);
    options.root = parser.value(root);
    if (options.synthetic == !options.root.isEmpty())
        return fail(QStringLiteral("give exactly one of --root DIR and --synthetic"));
    bool ok = false;
    options.stocks = parser.value(stocks).toInt(&ok);
    if (!ok || options.stocks < 1 || options.stocks > 900000)
        return fail(QStringLiteral("--stocks wants a number from 1 to 900000"));
    options.seed = parser.value(seed).toULongLong(&ok);
    if (!ok)
        return fail(QStringLiteral("--seed wants a number"));
    if (parser.isSet(now)) {
        options.now = QDateTime::fromString(parser.value(now), Qt::ISODate);
        if (!options.now->isValid())
            return fail(QStringLiteral("--now wants YYYY-MM-DDTHH:MM:SS"));
    }
    if (parser.isSet(clockFrom)) {
        options.clockFrom = timeOfDay(parser.value(clockFrom), QDate::currentDate());
        if (!options.clockFrom)
            return fail(QStringLiteral("--clock-from wants HH:MM or HH:MM:SS"));
        if (options.now)
            return fail(QStringLiteral("give at most one of --now and --clock-from"));
    }
    const QString mode = parser.value(fault);
    if (mode == QLatin1String("cut"))
        options.fault = Fault::Cut;
    else if (mode == QLatin1String("stall"))
        options.fault = Fault::Stall;
    else if (mode == QLatin1String("bad-header"))
        options.fault = Fault::BadHeader;
    else if (!mode.isEmpty())
        return fail(QStringLiteral("--fault wants cut, stall or bad-header"));
    const uint portNumber = parser.value(port).toUInt(&ok);
    if (!ok || portNumber > 65535)
        return fail(QStringLiteral("--port wants a number from 0 to 65535"));
    const QHostAddress address(parser.value(bind));
    if (address.isNull())
        return fail(QStringLiteral("--bind wants an IP address"));

    DataServer server(options);
    if (!server.listen(address, quint16(portNumber)))
        return fail(server.errorString());
    // Tests and scripts read the port from this line.
    std::printf("listening on %s:%u\n", qPrintable(address.toString()), unsigned(server.port()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}

// vantorel-cli: the program's snapshot code from the command line.
//   vantorel-cli decode [--json] FILE
//   vantorel-cli fetch [--json] --server HOST:PORT --out DIR [--timeout-ms N] NAME...
//   vantorel-cli grid [--json] FILE
//   vantorel-cli compare [--json] BUY_FILE SELL_FILE
//   vantorel-cli follow [--json] --server HOST:PORT --out DIR [--until HH:MM] [--clock-from HH:MM[:SS]]
//   vantorel-cli stock [--json] --data DIR --code CODE [--date YYYYMMDD] [--until HH:MM]
//   vantorel-cli top10 [--json] [--condition 0|1] [--plus N] [--minus N] BUY SELL [BUY SELL ...]
//   vantorel-cli sms [--endpoint URL] [--ca-file PEM] [--json] [--] PHONE PREFIX CODE
#include "Common.h"
#include "Follow.h"
#include "Output.h"
#include "Stock.h"
#include "TopTen.h"
#include "common/Config.h"
#include "common/Error.h"
#include "common/TextGrid.h"
#include "comparison/Comparison.h"
#include "comparison/GridLoader.h"
#include "comparison/GridRoutines.h"
#include "members/SmsGateway.h"
#include "snapshots/SnapshotFiles.h"
#include "snapshots/TransferEngine.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTimer>
#include <QUrl>

using namespace vantorel;

namespace {

using cli::err;
using cli::out;

int usage() {
    err(QStringLiteral(
        "usage: vantorel-cli decode [--json] FILE\n"
        "       vantorel-cli fetch [--json] --server HOST:PORT --out DIR [--timeout-ms N] NAME...\n"
        "       vantorel-cli grid [--json] FILE\n"
        "       vantorel-cli compare [--json] BUY_FILE SELL_FILE\n"
        "       vantorel-cli follow [--json] --server HOST:PORT --out DIR [--until HH:MM] "
        "[--clock-from HH:MM[:SS]]\n"
        "       vantorel-cli stock [--json] --data DIR --code CODE [--date YYYYMMDD] [--until HH:MM]\n"
        "       vantorel-cli top10 [--json] [--condition 0|1] [--plus N] [--minus N] "
        "BUY SELL [BUY SELL ...]\n"
        "       vantorel-cli sms [--endpoint URL] [--ca-file PEM] [--json] [--] PHONE PREFIX CODE"));
    return 2;
}

int decode(const QStringList& args, bool json) {
    if (args.size() != 1)
        return usage();
    QStringList lines;
    const bool ok = LoadDatFile(args[0], lines);
    if (json) {
        const QJsonObject doc{{QStringLiteral("ok"), ok},
                              {QStringLiteral("lines"), QJsonArray::fromStringList(lines)}};
        out(QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Compact)));
    } else {
        for (const QString& line : lines)
            out(line);
    }
    return ok ? 0 : 1;
}

// The grid a load gives, the reset one when the file does not decode.
TextGrid loadGrid(const QString& path, bool* ok) {
    const std::optional<TextGrid> grid = cli::loadSnapshot(path);
    *ok = grid.has_value();
    if (grid)
        return *grid;
    TextGrid reset;
    GridReset4(reset);
    return reset;
}

void printGrid(const TextGrid& grid, bool json) {
    if (json) {
        QJsonArray rows;
        for (int r = 0; r < grid.rowCount(); ++r)
            rows.append(QJsonArray::fromStringList(grid.row(r)));
        out(QString::fromUtf8(
            QJsonDocument(QJsonObject{{QStringLiteral("rows"), rows}}).toJson(QJsonDocument::Compact)));
        return;
    }
    out(QStringLiteral("%1 rows x %2 columns").arg(grid.rowCount()).arg(grid.columnCount()));
    for (int r = 0; r < grid.rowCount(); ++r)
        out(grid.row(r).join(QLatin1Char('\t')));
}

int grid(const QStringList& args, bool json) {
    if (args.size() != 1)
        return usage();
    bool ok = false;
    printGrid(loadGrid(args[0], &ok), json);
    return ok ? 0 : 1;
}

int compare(const QStringList& args, bool json) {
    if (args.size() != 2)
        return usage();
    bool buyOk = false;
    bool sellOk = false;
    const TextGrid buy = loadGrid(args[0], &buyOk);
    const TextGrid sell = loadGrid(args[1], &sellOk);
    printGrid(cli::resultOf(buy, sell), json);
    return buyOk && sellOk ? 0 : 1;
}

int fetch(QStringList args, bool json) {
    QString server;
    QString folder;
    int timeoutMs = 10000;
    QStringList names;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--server") && !args.isEmpty())
            server = args.takeFirst();
        else if (a == QLatin1String("--out") && !args.isEmpty())
            folder = args.takeFirst();
        else if (a == QLatin1String("--timeout-ms") && !args.isEmpty())
            timeoutMs = args.takeFirst().toInt();
        else if (a.startsWith(QLatin1String("--")))
            return usage();
        else
            names << a;
    }
    const auto address = cli::parseServer(server);
    if (!address || folder.isEmpty() || names.isEmpty() || timeoutMs <= 0)
        return usage();

    TransferEngine engine(address->first, address->second, folder);
    QJsonArray replies;
    int answered = 0;
    int stored = 0;
    int exitCode = -1;
    const auto finish = [&](int code) {
        if (exitCode < 0) {
            exitCode = code;
            QCoreApplication::exit(code);
        }
    };
    QObject::connect(&engine, &TransferEngine::connected, [&] {
        for (const QString& name : std::as_const(names))
            engine.request(name);
    });
    QObject::connect(&engine, &TransferEngine::replyHandled, [&](const TransferReply& reply) {
        // Every request has one answer, in order; a stray header answers nothing.
        QString name = reply.name;
        if (reply.outcome != TransferReply::Outcome::UnknownHeader) {
            if (answered < names.size() && name.isEmpty())
                name = names[answered];
            ++answered;
        }
        if (reply.outcome == TransferReply::Outcome::Stored && names.contains(reply.name))
            ++stored;
        if (json) {
            replies.append(QJsonObject{{QStringLiteral("name"), name},
                                       {QStringLiteral("outcome"), cli::outcomeName(reply.outcome)},
                                       {QStringLiteral("bytes"), reply.bytes}});
        } else {
            out(QStringLiteral("%1 %2 %3").arg(cli::outcomeName(reply.outcome), name).arg(reply.bytes));
        }
        if (answered >= names.size())
            finish(stored == names.size() ? 0 : 1);
    });
    QObject::connect(&engine, &TransferEngine::notice, [](const QString& text) { err(text); });
    QObject::connect(&engine, &TransferEngine::startFailed, [&](const QString& text) {
        err(QStringLiteral("cannot connect to %1: %2").arg(server, text));
        finish(1);
    });
    QTimer::singleShot(timeoutMs, [&] {
        err(QStringLiteral("timed out with %1 of %2 requests answered").arg(answered).arg(names.size()));
        finish(1);
    });
    engine.start();
    const int code = QCoreApplication::exec();
    engine.stop();
    if (json)
        out(QString::fromUtf8(QJsonDocument(replies).toJson(QJsonDocument::Compact)));
    return code;
}

// A mistake in the sms command's arguments: like any failure of it, exit 1.
int smsUsageError(const QString& text) {
    err(QStringLiteral("vantorel-cli sms: ") + text);
    err(QStringLiteral(
        "usage: vantorel-cli sms [--endpoint URL] [--ca-file PEM] [--json] [--] PHONE PREFIX CODE"));
    return 1;
}

// Sends PREFIX + CODE to PHONE as the member windows do, with the build's key,
// secret and sender. Options come before the three values (or end at "--"), so
// that a PREFIX may itself begin with "--".
int sms(QStringList args, bool json) {
    SmsConfig config = Config::fromBuild().sms;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("--json")) {
            json = true;
        } else if (a == QLatin1String("--endpoint") || a == QLatin1String("--ca-file")) {
            if (args.isEmpty())
                return smsUsageError(a + QStringLiteral(" wants a value"));
            (a == QLatin1String("--endpoint") ? config.url : config.caFile) = args.takeFirst();
        } else {
            return smsUsageError(QStringLiteral("unknown option ") + a);
        }
    }
    if (args.size() != 3)
        return smsUsageError(QStringLiteral("wants PHONE PREFIX CODE, got %1 values").arg(args.size()));
    // The request carries the signed key: never in the clear.
    if (QUrl(config.url).scheme() != QLatin1String("https"))
        return smsUsageError(QStringLiteral("the endpoint must be an https:// address: ") + config.url);
    const SystemClock clock;
    try {
        SendSMS(config, clock, args[0], args[2], args[1]);
    } catch (const Error& e) {
        if (json)
            out(QString::fromUtf8(
                QJsonDocument(QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("error"), e.text()}})
                    .toJson(QJsonDocument::Compact)));
        else
            err(QStringLiteral("SMS 전송 실패: ") + e.text());
        return 1;
    }
    out(json ? QStringLiteral("{\"ok\":true}") : QStringLiteral("sent"));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    // "sms" reads its own arguments, where "--json" may be a value; a "--json"
    // before the command counts for it as for the others.
    const qsizetype smsAt = args.indexOf(QStringLiteral("sms"));
    if (smsAt >= 0 && args.mid(0, smsAt).count(QStringLiteral("--json")) == smsAt)
        return sms(args.mid(smsAt + 1), smsAt > 0);
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("decode"))
        return decode(args, json);
    if (command == QLatin1String("fetch"))
        return fetch(args, json);
    if (command == QLatin1String("grid"))
        return grid(args, json);
    if (command == QLatin1String("compare"))
        return compare(args, json);
    if (command == QLatin1String("follow"))
        return cli::follow(args, json);
    if (command == QLatin1String("stock"))
        return cli::stock(args, json);
    if (command == QLatin1String("top10"))
        return cli::topTen(args, json);
    return usage();
}

#include "TopTen.h"

#include "Common.h"
#include "Output.h"
#include "common/TextGrid.h"
#include "comparison/Comparison.h"
#include "comparison/GridLoader.h"
#include "comparison/GridRoutines.h"
#include "live/TopTen.h"
#include "snapshots/SnapshotFiles.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <optional>

namespace vantorel::cli {

namespace {

int bad(const QString& text) {
    err(QStringLiteral("vantorel-cli top10: ") + text);
    err(QStringLiteral("usage: vantorel-cli top10 [--json] [--condition 0|1] [--plus N] [--minus N] "
                       "BUY SELL [BUY SELL ...]"));
    return 1;
}

std::optional<qint32> integerOf(const QString& text) {
    bool ok = false;
    const qint32 value = text.toInt(&ok, 10);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

QJsonArray stockRows(const TextGrid& list) {
    QJsonArray rows;
    for (int r = 1; r < list.rowCount(); ++r)
        rows.append(QJsonArray::fromStringList(list.row(r)));
    return rows;
}

QString refreshJson(const TopTen& lists) {
    return orderedJson({
        {QStringLiteral("buy"), stockRows(lists.buy())},
        {QStringLiteral("sell"), stockRows(lists.sell())},
        {QStringLiteral("buyLines"), QJsonArray::fromStringList(lists.buyLines())},
        {QStringLiteral("sellLines"), QJsonArray::fromStringList(lists.sellLines())},
        {QStringLiteral("newBuy"), QJsonArray::fromStringList(lists.newBuyCodes())},
        {QStringLiteral("newSell"), QJsonArray::fromStringList(lists.newSellCodes())},
    });
}

void printSide(const QString& title, const TextGrid& list, const QStringList& fresh,
               const QStringList& lines) {
    out(title);
    for (int r = 1; r < list.rowCount(); ++r)
        out((fresh.contains(list.cell(0, r)) ? QStringLiteral("* ") : QStringLiteral("  ")) +
            list.row(r).join(QLatin1Char('\t')));
    for (const QString& line : lines)
        out(QStringLiteral("  ") + line);
}

} // namespace

int topTen(QStringList args, bool json) {
    int condition = TopTen::OneSideOnly;
    qint32 plus = 2;
    qint32 minus = 2;
    QStringList files;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--condition") || a == QLatin1String("--plus") ||
            a == QLatin1String("--minus")) {
            if (args.isEmpty())
                return bad(a + QStringLiteral(" needs a value"));
            const QString text = args.takeFirst();
            const std::optional<qint32> value = integerOf(text);
            if (!value)
                return bad(a + QStringLiteral(" is not an integer: ") + text);
            if (a == QLatin1String("--condition")) {
                if (*value != TopTen::OneSideOnly && *value != TopTen::Strongest)
                    return bad(QStringLiteral("--condition is 0 or 1, not ") + text);
                condition = *value;
            } else {
                (a == QLatin1String("--plus") ? plus : minus) = *value;
            }
        } else if (a.startsWith(QLatin1String("--"))) {
            return bad(QStringLiteral("unknown option ") + a);
        } else {
            files << a;
        }
    }
    if (files.isEmpty() || files.size() % 2 != 0)
        return bad(QStringLiteral("give buy and sell snapshots in pairs"));
    for (const QString& file : std::as_const(files)) {
        if (!QFileInfo(file).isFile())
            return bad(QStringLiteral("no such file: ") + file);
    }

    // Every pair is read before anything is printed, so a failure prints no
    // half of a run.
    QList<TextGrid> results;
    for (qsizetype i = 0; i < files.size(); i += 2) {
        const std::optional<TextGrid> buy = loadSnapshot(files[i]);
        const std::optional<TextGrid> sell = loadSnapshot(files[i + 1]);
        if (!buy || !sell)
            return 1;
        results << resultOf(*buy, *sell);
    }

    TopTen lists;
    QStringList refreshes;
    for (qsizetype i = 0; i < results.size(); ++i) {
        // A table without stocks leaves the lists as they were, as in the window.
        lists.refresh(results[i], condition, plus, minus);
        if (json) {
            refreshes << refreshJson(lists);
            continue;
        }
        out(QStringLiteral("refresh %1: %2 %3").arg(i + 1).arg(files[2 * i], files[2 * i + 1]));
        printSide(QStringLiteral("buy"), lists.buy(), lists.newBuyCodes(), lists.buyLines());
        printSide(QStringLiteral("sell"), lists.sell(), lists.newSellCodes(), lists.sellLines());
    }
    if (json)
        out(QStringLiteral("{\"refreshes\":[") + refreshes.join(QLatin1Char(',')) + QStringLiteral("]}"));
    return 0;
}

} // namespace vantorel::cli

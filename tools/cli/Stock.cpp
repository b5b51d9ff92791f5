#include "Stock.h"

#include "Output.h"
#include "common/Clock.h"
#include "live/DayIndex.h"
#include "live/StockDay.h"
#include "snapshots/DownloadPlan.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vantorel::cli {

namespace {

int bad(const QString& text) {
    err(QStringLiteral("vantorel-cli stock: ") + text);
    err(QStringLiteral(
        "usage: vantorel-cli stock [--json] --data DIR --code CODE [--date YYYYMMDD] [--until HH:MM]"));
    return 1;
}

} // namespace

int stock(QStringList args, bool json) {
    QString folder;
    QString code;
    QString dateText;
    QString untilText;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        QString* value = a == QLatin1String("--data")    ? &folder
                         : a == QLatin1String("--code")  ? &code
                         : a == QLatin1String("--date")  ? &dateText
                         : a == QLatin1String("--until") ? &untilText
                                                         : nullptr;
        if (!value)
            return bad(QStringLiteral("unknown argument ") + a);
        if (args.isEmpty())
            return bad(a + QStringLiteral(" wants a value"));
        *value = args.takeFirst();
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return bad(QStringLiteral("--data wants a folder that exists"));
    if (code.size() != 6)
        return bad(QStringLiteral("--code wants six characters"));
    const SystemClock clock;
    const QDate date =
        dateText.isEmpty() ? clock.now().date() : QDate::fromString(dateText, QStringLiteral("yyyyMMdd"));
    if (!date.isValid())
        return bad(QStringLiteral("--date wants YYYYMMDD"));
    const std::optional<QDateTime> until = untilText.isEmpty()
                                               ? std::optional<QDateTime>(QDateTime(date, clock.now().time()))
                                               : timeOfDay(untilText, date);
    if (!until || (!untilText.isEmpty() && untilText.size() != 5))
        return bad(QStringLiteral("--until wants HH:MM"));

    DayIndex index(folder);
    TextGrid grid;
    StockDay day(index, folder, grid);
    const QStringList stems = backlogStems(*until);
    QEventLoop loop;
    bool read = false;
    index.whenRead(day.filesToRead(stems), &loop, [&] {
        read = true;
        loop.quit();
    });
    if (!read)
        loop.exec();
    day.ClearSlotGrid();
    day.fill(stems, code);

    // The rows the grid shows, without the row waiting for the next minute.
    QList<QStringList> rows;
    for (int r = 1; r < grid.rowCount(); ++r) {
        if (grid.row(r) != QStringList(grid.columnCount()))
            rows << grid.row(r);
    }
    if (json) {
        QJsonArray array;
        for (const QStringList& row : std::as_const(rows))
            array.append(QJsonArray::fromStringList(row));
        out(QString::fromUtf8(
            QJsonDocument(QJsonObject{{QStringLiteral("name"), day.name()}, {QStringLiteral("rows"), array}})
                .toJson(QJsonDocument::Compact)));
    } else {
        out(day.name());
        for (const QStringList& row : std::as_const(rows))
            out(row.join(QLatin1Char('\t')));
    }
    return 0;
}

} // namespace vantorel::cli

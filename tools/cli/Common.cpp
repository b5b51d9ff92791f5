#include "Common.h"

#include "Output.h"
#include "comparison/Comparison.h"
#include "comparison/GridLoader.h"
#include "comparison/GridRoutines.h"
#include "snapshots/SnapshotFiles.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vantorel::cli {

std::optional<TextGrid> loadSnapshot(const QString& path) {
    TextGrid grid;
    GridReset4(grid);
    QStringList lines;
    if (!LoadDatFile(path, lines)) {
        err(lines.last());
        return std::nullopt;
    }
    LoadStringGridFromMemo(grid, lines);
    return grid;
}

TextGrid resultOf(const TextGrid& buy, const TextGrid& sell) {
    TextGrid result;
    GridReset(result);
    CompareStringGrids(buy, sell, result);
    SortHH(result, 4);
    return result;
}

QString outcomeName(TransferReply::Outcome outcome) {
    switch (outcome) {
    case TransferReply::Outcome::Stored:
        return QStringLiteral("stored");
    case TransferReply::Outcome::ServerError:
        return QStringLiteral("error");
    case TransferReply::Outcome::UnknownHeader:
        return QStringLiteral("ignored");
    case TransferReply::Outcome::Refused:
        return QStringLiteral("refused");
    case TransferReply::Outcome::Failed:
        break;
    }
    return QStringLiteral("failed");
}

std::optional<std::pair<QString, quint16>> parseServer(const QString& text) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const uint port = colon > 0 ? text.mid(colon + 1).toUInt(&ok) : 0;
    if (!ok || port == 0 || port > 65535)
        return std::nullopt;
    return std::make_pair(text.left(colon), quint16(port));
}

QString orderedJson(const std::vector<std::pair<QString, QJsonValue>>& members) {
    QStringList parts;
    for (const auto& [key, value] : members) {
        // A one-element array writes the value, strings escaped, as JSON does.
        const QString element =
            QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
        const QString name = QString::fromUtf8(QJsonDocument(QJsonArray{key}).toJson(QJsonDocument::Compact));
        parts << name.mid(1, name.size() - 2) + QLatin1Char(':') + element.mid(1, element.size() - 2);
    }
    return QLatin1Char('{') + parts.join(QLatin1Char(',')) + QLatin1Char('}');
}

} // namespace vantorel::cli

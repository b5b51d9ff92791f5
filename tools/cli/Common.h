#pragma once

#include "common/TextGrid.h"
#include "snapshots/TransferEngine.h"

#include <QJsonValue>

#include <optional>
#include <utility>
#include <vector>

namespace vantorel::cli {

// The snapshot grid a load gives: reset to one empty row of four columns, then
// filled from the decoded lines; nothing (the reason on standard error) when
// the file does not decode.
std::optional<TextGrid> loadSnapshot(const QString& path);
// The result table as "결과" builds it from two snapshot grids.
TextGrid resultOf(const TextGrid& buy, const TextGrid& sell);

// "stored", "error", "refused", "ignored" (an unknown header) or "failed".
QString outcomeName(TransferReply::Outcome outcome);
// HOST:PORT, the port from 1 to 65535.
std::optional<std::pair<QString, quint16>> parseServer(const QString& text);

// A compact JSON object with its members in the order given (QJsonObject
// would sort them).
QString orderedJson(const std::vector<std::pair<QString, QJsonValue>>& members);

} // namespace vantorel::cli

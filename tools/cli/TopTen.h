#pragma once

#include <QStringList>

namespace vantorel::cli {

// vantorel-cli top10: the top-10 window's refresh after each result table of a
// run of buy and sell snapshot pairs.
int topTen(QStringList args, bool json);

} // namespace vantorel::cli

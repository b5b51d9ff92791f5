#pragma once

#include <QStringList>

namespace vantorel::cli {

// vantorel-cli stock: what the single-stock window's query shows for a folder.
int stock(QStringList args, bool json);

} // namespace vantorel::cli

#pragma once

#include <QStringList>

namespace vantorel::cli {

// vantorel-cli follow: the program's scheduler and transfer engine without a
// window, mirroring the day into a folder.
int follow(QStringList args, bool json);

} // namespace vantorel::cli

#pragma once

#include <QString>

#include <cstdio>

namespace vantorel::cli {

// One line to standard output, UTF-8, flushed so that a reader sees it at once.
inline void out(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

inline void err(const QString& line) {
    std::fputs(line.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

} // namespace vantorel::cli

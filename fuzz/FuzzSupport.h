#pragma once

// What every fuzz target shares: one Qt application for the whole run and a
// check that stops the run with the broken property's name, so that libFuzzer
// keeps the input as a reproducer.

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace vantorel::fuzz {

inline void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "vantorel-fuzz";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

[[noreturn]] inline void broken(const char* property, const QString& detail = {}) {
    std::fprintf(stderr, "property broken: %s %s\n", property, detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

inline void check(bool holds, const char* property, const QString& detail = {}) {
    if (!holds)
        broken(property, detail);
}

// Takes the first byte off the input: a small switch for the target's mode.
inline quint8 takeByte(const quint8*& data, size_t& size) {
    if (size == 0)
        return 0;
    const quint8 b = *data;
    ++data;
    --size;
    return b;
}

inline QByteArray bytes(const quint8* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace vantorel::fuzz

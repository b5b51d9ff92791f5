#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>

namespace vantorel::test {

// The data rows of one of the public reference vector files (TSV with a header
// row), each split into its fields; empty when the file is missing.
inline QList<QList<QByteArray>> vectorRows(const char* name) {
    QFile file(QStringLiteral(VANTOREL_VECTORS_DIR "/") + QString::fromLatin1(name));
    QList<QList<QByteArray>> rows;
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!lines[i].isEmpty())
            rows << lines[i].split('\t');
    }
    return rows;
}

} // namespace vantorel::test

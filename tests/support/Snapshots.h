#pragma once

#include "Envelope.h"

#include <QByteArray>
#include <QList>

namespace vantorel::test {

// A snapshot file as the data server stores it: the heading line, then the
// given lines.
inline QByteArray snapshotFile(const QList<QByteArray>& lines) {
    QByteArray text = "Time,Stock Code,Stock Name,Occurrences\r\n";
    for (const QByteArray& line : lines)
        text += line + "\r\n";
    return dataserver::encodeEnvelope(text);
}

} // namespace vantorel::test

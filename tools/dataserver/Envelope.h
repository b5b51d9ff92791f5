#pragma once

#include <QByteArray>

namespace vantorel::dataserver {

// A snapshot file's stored form: the payload's base64 text with CR LF after
// every 76 characters (also after the last group when the text fills its line).
QByteArray encodeEnvelope(const QByteArray& payload);

} // namespace vantorel::dataserver

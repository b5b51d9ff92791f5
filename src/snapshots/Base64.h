#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace vantorel {

// The bytes that base64 text stands for, exactly as QByteArray::fromBase64
// gives them without options: every character outside the alphabet ("=" and
// line breaks included) is skipped, and bits left over at the end are dropped.
// It reads a whole group of four characters at once, which makes the long
// lines of a snapshot envelope a few times faster to decode.
QByteArray decodeBase64(QByteArrayView text);

} // namespace vantorel

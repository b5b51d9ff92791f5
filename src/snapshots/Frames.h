#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vantorel::frames {

// The data server's frames. A request is "[REQT]" and a 256-byte name field; a
// reply starts with a 6-byte header: "[FILE]", a 256-byte name field, a signed
// 64-bit little-endian length and that many content bytes; or "[ERRO]" and a
// 256-byte field.
inline constexpr qsizetype kHeaderSize = 6;
inline constexpr qsizetype kNameSize = 256;
inline constexpr qsizetype kLengthSize = 8;
inline constexpr qsizetype kRequestSize = kHeaderSize + kNameSize;

inline constexpr QByteArrayView kRequestTag{"[REQT]"};
inline constexpr QByteArrayView kFileTag{"[FILE]"};
inline constexpr QByteArrayView kErrorTag{"[ERRO]"};

// The name in UTF-8, zero-filled to 256 bytes, or cut to its first 256 bytes.
QByteArray nameField(const QString& name);

// A received name field: its UTF-8 text with every leading and trailing
// character of code 32 or below removed.
QString nameFromField(QByteArrayView field);

// Why a received name may not be stored in the data folder (empty, a path, a
// control character, "." or ".."), or the empty text when it may.
QString refusalReason(const QString& name);

QByteArray encodeLength(qint64 length);
qint64 decodeLength(QByteArrayView bytes);

} // namespace vantorel::frames

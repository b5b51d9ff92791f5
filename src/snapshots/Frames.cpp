#include "snapshots/Frames.h"

#include <QtEndian>

namespace vantorel::frames {

QByteArray nameField(const QString& name) {
    QByteArray field(kNameSize, '\0');
    const QByteArray utf8 = name.toUtf8();
    std::copy_n(utf8.constData(), std::min(utf8.size(), kNameSize), field.data());
    return field;
}

QString nameFromField(QByteArrayView field) {
    const QString text = QString::fromUtf8(field);
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 32)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

QString refusalReason(const QString& name) {
    if (name.isEmpty())
        return QStringLiteral("the server sent a file without a name");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("refused file name \"%1\"").arg(name);
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':'))
            return QStringLiteral("refused file name \"%1\": it is a path").arg(name);
        if (c.unicode() < 32 || c.unicode() == 127)
            return QStringLiteral("refused file name \"%1\": it holds a control character").arg(name);
    }
    return {};
}

QByteArray encodeLength(qint64 length) {
    QByteArray bytes(kLengthSize, '\0');
    qToLittleEndian<qint64>(length, bytes.data());
    return bytes;
}

qint64 decodeLength(QByteArrayView bytes) {
    return qFromLittleEndian<qint64>(bytes.data());
}

} // namespace vantorel::frames

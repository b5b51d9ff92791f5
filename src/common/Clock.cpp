#include "common/Clock.h"

#include <QRegularExpression>

namespace vantorel {

std::optional<QDateTime> timeOfDay(const QString& text, const QDate& day) {
    static const QRegularExpression form(QStringLiteral("^(\\d\\d):(\\d\\d)(?::(\\d\\d))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QTime time(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!time.isValid())
        return std::nullopt;
    return QDateTime(day, time);
}

} // namespace vantorel

#pragma once

#include "common/Messages.h"

#include <QStringList>

namespace vantorel::test {

// Returns at once and keeps what would have been shown.
class RecordingMessages final : public Messages {
public:
    void show(const QString& text) override { shown << text; }
    void standardError(const QString& text) override { errors << text; }

    QStringList shown;
    QStringList errors;
};

} // namespace vantorel::test

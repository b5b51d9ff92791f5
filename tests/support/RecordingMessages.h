#pragma once

#include "common/Messages.h"

#include <QStringList>

namespace vantorel::test {

// Returns at once and keeps what would have been shown.
class RecordingMessages final : public Messages {
public:
    void show(const QString& text) override { shown << text; }
    void standardError(const QString& text) override { errors << text; }
    // The next of the answers set beforehand; empty (cancelled) when none is left.
    QString saveFileName(const QString& suggestedName) override {
        asked << suggestedName;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }

    QStringList shown;
    QStringList errors;
    QStringList asked;
    QStringList saveAnswers;
};

} // namespace vantorel::test

#pragma once

#include "common/Messages.h"

namespace vantorel {

// Real modal boxes over the active window.
class MessageBoxes final : public Messages {
public:
    void show(const QString& text) override;
    void standardError(const QString& text) override;
    QString saveFileName(const QString& suggestedName) override;
};

} // namespace vantorel

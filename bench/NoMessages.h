#pragma once

#include "common/Messages.h"

namespace vantorel::bench {

// Boxes shown to nobody, so that a benchmark never waits for a click.
class NoMessages final : public Messages {
public:
    void show(const QString&) override {}
    void standardError(const QString&) override {}
    QString saveFileName(const QString&) override { return {}; }
};

} // namespace vantorel::bench

#pragma once

#include "common/Clock.h"

namespace vantorel::test {

class SettableClock final : public Clock {
public:
    explicit SettableClock(QDateTime now = {})
        : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }

private:
    QDateTime m_now;
};

} // namespace vantorel::test

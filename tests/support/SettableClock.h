#pragma once

#include "common/Clock.h"

#include <QMutex>
#include <QMutexLocker>

namespace vantorel::test {

// A clock the test sets by hand. Pool tasks read it too, hence the lock.
class SettableClock final : public Clock {
public:
    explicit SettableClock(QDateTime now = {})
        : m_now(std::move(now)) {}
    QDateTime now() const override {
        QMutexLocker lock(&m_mutex);
        return m_now;
    }
    void set(const QDateTime& now) {
        QMutexLocker lock(&m_mutex);
        m_now = now;
    }

private:
    mutable QMutex m_mutex;
    QDateTime m_now;
};

} // namespace vantorel::test

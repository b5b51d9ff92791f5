#include "comparison/AutoRunGate.h"
#include "support/SettableClock.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

QDateTime at(int h, int m, int s = 0) {
    return QDateTime(QDate(2025, 7, 1), QTime(h, m, s));
}

// Two pool tasks of one minute, the second paused after it looked at the
// picker while the first one's run went through.
TEST(AutoRunGate, ALateTaskOfAMinuteThatHasRunRunsNothing) {
    test::SettableClock clock(at(10, 15, 20));
    AutoRunGate gate;
    gate.setPicker(at(10, 14));

    ASSERT_FALSE(gate.hasRun(clock.now())); // the late task looks, then waits
    ASSERT_FALSE(gate.hasRun(clock.now())); // the first task
    ASSERT_TRUE(gate.claim());
    EXPECT_FALSE(gate.claim()); // one hand-over waits at a time
    ASSERT_TRUE(gate.confirm(clock.now()));
    gate.setPicker(clock.now()); // the run moves the pickers

    ASSERT_TRUE(gate.claim()); // the late task goes on
    EXPECT_FALSE(gate.confirm(clock.now()));
    EXPECT_TRUE(gate.hasRun(clock.now()));

    clock.set(at(10, 16, 0));
    EXPECT_FALSE(gate.hasRun(clock.now()));
    ASSERT_TRUE(gate.claim());
    EXPECT_TRUE(gate.confirm(clock.now()));

    gate.close();
    EXPECT_FALSE(gate.claim());
    clock.set(at(10, 17, 0));
    EXPECT_FALSE(gate.confirm(clock.now()));
}

} // namespace
} // namespace vantorel

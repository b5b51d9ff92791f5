#pragma once

#include <functional>

namespace vantorel::test {

// Runs the event loop until the condition holds or the time is up; the result
// is the condition's last value.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
// Runs the event loop for a while.
void spin(int ms);
// Runs the action from the event loop and the loop until the application is
// told to quit; the exit code, or 1 when nothing quits within 5 s.
int runUntilQuit(const std::function<void()>& action);

} // namespace vantorel::test

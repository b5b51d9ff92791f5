#pragma once

#include "common/Error.h"
#include "common/Messages.h"

#include <exception>
#include <utility>

namespace vantorel {

// Runs a handler or timer slot so that no exception crosses the event loop: what
// the handler did not catch goes to the standard error box, and the program goes on.
template <typename Handler> void guarded(Messages& messages, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const Error& e) {
        messages.standardError(e.text());
    } catch (const std::exception& e) {
        messages.standardError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        messages.standardError(QStringLiteral("Unknown error"));
    }
}

} // namespace vantorel

#pragma once

class QNetworkReply;

namespace vantorel {

enum class ReplyWait {
    Finished, // the reply has come, whatever it says
    TimedOut, // no whole reply within the limit; the request is aborted
    Cancelled // the program is ending and took the event loops with it; aborted
};

// Waits for the reply in an event loop of its own, so the window keeps
// painting, for at most limitMs over the whole request however slowly the
// bytes come.
ReplyWait waitForReply(QNetworkReply& reply, int limitMs);

} // namespace vantorel

#pragma once

#include <QUrl>

namespace vantorel {

// Opens an address in the member's default web browser. The program uses the
// desktop's own; tests record what would have been opened.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Whether a browser came up is not the program's concern.
    virtual void open(const QUrl& url) = 0;
};

} // namespace vantorel

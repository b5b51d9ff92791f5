#pragma once

#include "common/UrlOpener.h"

#include <QList>

namespace vantorel::test {

// Keeps every address the program would have opened in a browser.
class RecordingUrlOpener final : public UrlOpener {
public:
    void open(const QUrl& url) override { opened << url; }

    QList<QUrl> opened;
};

} // namespace vantorel::test

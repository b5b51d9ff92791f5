#pragma once

#include "common/UrlOpener.h"

namespace vantorel {

// The desktop's default browser, through QDesktopServices.
class DesktopUrlOpener final : public UrlOpener {
public:
    void open(const QUrl& url) override;
};

} // namespace vantorel

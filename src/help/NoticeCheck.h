#pragma once

#include "common/Config.h"
#include "common/UrlOpener.h"

#include <QUrl>

namespace vantorel {

// The site's notice check (plain HTTP) and notice page (HTTPS).
QUrl noticeCheckUrl(const Config::Site& site);
QUrl noticePageUrl(const Config::Site& site);

// Asks the service's web site whether a notice is pending and, when the answer
// is exactly "EXISTS", opens the notice page with the opener. Waits for the
// answer, at most site.checkTimeoutMs, running the event loop meanwhile so that
// windows keep painting. Throws Error when the site cannot be asked or refuses.
// A build without a site host asks nothing.
void CheckAndOpenBrowser(const Config::Site& site, UrlOpener& opener);

} // namespace vantorel

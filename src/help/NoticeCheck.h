#pragma once

namespace vantorel {

// Asks the service's web site whether a notice is pending and, if so, opens it in
// the default browser. Run each time the login window becomes visible.
void CheckAndOpenBrowser();

} // namespace vantorel

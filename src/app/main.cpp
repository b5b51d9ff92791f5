#include "app/uLogin.h"
#include "common/DesktopUrlOpener.h"
#include "common/MessageBoxes.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    // The program ends when the login window (before sign-in) or the main window
    // (after it) is closed, not when some other window happens to be the last.
    QApplication::setQuitOnLastWindowClosed(false);

    vantorel::MessageBoxes messages;
    vantorel::SystemClock clock;
    vantorel::AppContext context{messages, clock, vantorel::ProgramFolder::ofExecutable(),
                                 vantorel::Config::fromBuild()};
    vantorel::DesktopUrlOpener urlOpener;
    vantorel::TfrmLogin login(context, urlOpener);
    login.show();
    return QApplication::exec();
}

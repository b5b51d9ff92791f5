#include "comparison/Unit1.h"

#include "common/WindowStyle.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace vantorel {

TfrmMain::TfrmMain(QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("Morwick Corp. Data"));
    makeFixedWindow(this, 711, 789);
    move(0, 0);
}

void TfrmMain::FormClose() {
    QCoreApplication::quit();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

} // namespace vantorel

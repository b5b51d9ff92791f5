#include "common/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace vantorel {

void MessageBoxes::show(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void MessageBoxes::standardError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

} // namespace vantorel

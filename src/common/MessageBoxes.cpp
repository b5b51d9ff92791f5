#include "common/MessageBoxes.h"

#include <QApplication>
#include <QFileDialog>
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

QString MessageBoxes::saveFileName(const QString& suggestedName) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), QStringLiteral("CSV로 저장"),
                                        suggestedName, QStringLiteral("CSV (*.csv)"));
}

} // namespace vantorel

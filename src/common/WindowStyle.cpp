#include "common/WindowStyle.h"

#include <QWidget>

namespace vantorel {

void makeFixedWindow(QWidget* window, int width, int height) {
    window->setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint);
    window->setFixedSize(width, height);
}

} // namespace vantorel

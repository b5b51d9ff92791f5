#pragma once

#include <QWidget>

namespace vantorel {

// While the window waits for the gateway it keeps painting but takes no input,
// so that nothing is clicked twice.
class WindowBusy {
public:
    explicit WindowBusy(QWidget* window)
        : m_window(window) {
        m_window->setEnabled(false);
    }
    ~WindowBusy() { m_window->setEnabled(true); }
    WindowBusy(const WindowBusy&) = delete;
    WindowBusy& operator=(const WindowBusy&) = delete;

private:
    QWidget* m_window;
};

} // namespace vantorel

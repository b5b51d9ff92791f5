#pragma once

class QWidget;

namespace vantorel {

// A window with a fixed single border, minimise and close boxes and no maximise
// box, whose client area is `width` × `height` pixels.
void makeFixedWindow(QWidget* window, int width, int height);

} // namespace vantorel

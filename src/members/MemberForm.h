#pragma once

#include "common/KeyFilters.h"

#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

namespace vantorel {

// The pieces the member-service windows are laid out from, placed at fixed
// positions in the client area.

// A bold title in larger type.
QLabel* addTitle(QWidget* parent, const QString& text, int x, int y);
// A red note.
QLabel* addNote(QWidget* parent, const QString& text, int x, int y);
// A label at (x, y) and, at fieldX on the same line, a text field of at most
// maxLength characters whose typing passes through the filter.
QLineEdit* addField(QWidget* parent, const QString& label, int x, int y, int fieldX, int fieldWidth,
                    int maxLength, KeyFilter filter);

} // namespace vantorel

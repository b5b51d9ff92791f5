#pragma once

#include "common/KeyFilters.h"

class QLineEdit;

namespace vantorel {

// Passes every character typed into the field, and every input-method commit
// (Hangul arrives that way), through the filter. Text pasted from the context
// menu is not filtered. Tab keeps moving the focus.
void installKeyFilter(QLineEdit* edit, KeyFilter filter);

} // namespace vantorel

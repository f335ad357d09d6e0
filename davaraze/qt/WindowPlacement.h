// Restores and keeps the placement of a dialog's window under its placement name.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

class QWidget;

namespace davaraze::qt {

// Before the window is first shown: its last kept placement, when there is one and it still
// lies on a screen. An empty name keeps nothing.
void RestorePlacement(QWidget& window, const YUnicodeString& name);
// When the window closes.
void KeepPlacement(const QWidget& window, const YUnicodeString& name);

}  // namespace davaraze::qt

// Writes what a window looks like into a PNG file, for tests and documentation.
#pragma once

#include <string>

class QWidget;

namespace rivode::ui {

// Renders window (shown; offscreen works) and writes the PNG image to path, replacing a file
// there. The image goes into a new file beside path first and takes path's name only once it
// is complete, so an interrupted run never leaves a half image, and a link at path is replaced,
// never followed. false with problem (English, for the terminal) when it cannot be written.
[[nodiscard]] bool SaveScreenshot(QWidget& window, const std::string& path, std::string& problem);

}  // namespace rivode::ui

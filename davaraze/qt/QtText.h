// Texts of the message tables for Qt widgets (the conversions themselves are public: YQtText.h).
#pragma once

#include <DavaraZE/YQtText.h>

#include <QString>

#include <cstdint>

namespace davaraze::qt {

// A text of the message tables for a Qt widget.
QString LoadText(std::uint32_t id, const char16_t* fallback);

}  // namespace davaraze::qt

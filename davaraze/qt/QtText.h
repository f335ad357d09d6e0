// Text between the library's UTF-16 strings and Qt's, which are UTF-16 too: no conversion, only
// a copy.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <QString>

namespace davaraze::qt {

inline QString ToQString(const YUnicodeString& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline YUnicodeString FromQString(const QString& text) {
    return YUnicodeString(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

// A text of the message tables for a Qt widget.
QString LoadText(std::uint32_t id, const char16_t* fallback);

}  // namespace davaraze::qt

// Text between the library's UTF-16 strings and Qt's, which are UTF-16 too: no conversion, only
// a copy. For the Qt half and for every Qt host.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <QString>

#include <cstddef>

#pragma GCC visibility push(default)

inline QString YToQString(const YUnicodeString& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline YUnicodeString YFromQString(const QString& text) {
    return YUnicodeString(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

#pragma GCC visibility pop

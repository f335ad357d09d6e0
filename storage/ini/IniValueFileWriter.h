// Formatting values in the value-file format: a header line T:"name"=rest and, for binary and
// multi-string values, continuation lines; every line ends with CR LF. The byte-order mark is
// the text file's business.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rivode::storage {

// D:"name"=%08x
void AppendDwordLines(YUnicodeString& out, std::u16string_view name, std::uint32_t value);
// S:"name"=text, the text unchanged.
void AppendStringLines(YUnicodeString& out, std::u16string_view name, std::u16string_view text);
// B:"name"=%08x (the length), then lines of up to 32 bytes, each byte as " xx".
void AppendBinaryLines(YUnicodeString& out, std::u16string_view name, const std::uint8_t* bytes,
                       std::size_t length);
// Z:"name"=%08x (the count), then one line per text: a space and the text.
void AppendStringArrayLines(YUnicodeString& out, std::u16string_view name,
                            const YStringArray& texts);

}  // namespace rivode::storage

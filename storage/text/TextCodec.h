// Conversion between the byte encodings of text files and UTF-16, on whole buffers.
//
// The converters read bytes, not files: YTextFile feeds them its read buffer, tests and the
// fuzzer feed them arbitrary bytes. They never throw (beyond allocation) and never read past
// the bytes given.
#pragma once

#include "storage/text/YTextFile.h"

#include "platform/Utf8Codec.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace rivode::storage {

// consumed: bytes turned into text, whole characters only. invalid: the byte at consumed starts
// no valid character (or the encoding is unknown); when false and bytes remain, they begin a
// character that the following bytes may complete.
using TextDecodeResult = platform::Utf8DecodeResult;

// Decodes bytes in the encoding into out, which has room for bytes.size() code units (no
// encoding needs more); written is the number of units stored. UTF-8 must be well-formed (no
// overlong forms, no surrogates); UTF-16 must pair its surrogates; every Windows-1252 byte
// decodes.
TextDecodeResult DecodeText(YTextFile::Encoding encoding, std::string_view bytes, char16_t* out,
                            std::size_t& written);
// The same, appending to out.
TextDecodeResult DecodeText(YTextFile::Encoding encoding, std::string_view bytes,
                            YUnicodeString& out);
// UTF-8 decodes with platform::IllFormed::Stop: platform::FindValidUtf8 tells without decoding
// how far DecodeText(EncodingUtf8, ...) would get.

// Appends the bytes of text in the encoding to out; false (out unchanged) when a character has
// no form in it: an unpaired surrogate in UTF-8, a character outside Windows-1252. UTF-16 takes
// its code units as they are.
bool EncodeText(YTextFile::Encoding encoding, std::u16string_view text, std::string& out);

// The byte-order mark written at the start of a file in the encoding (empty for the code page).
std::string_view ByteOrderMark(YTextFile::Encoding encoding);

// The encoding whose mark begins bytes, and the mark's length; EncodingCodePage and 0 when
// none does.
YTextFile::Encoding DetectByteOrderMark(std::string_view bytes, std::size_t& markLength);

}  // namespace rivode::storage

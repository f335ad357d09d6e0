// Reading the value-file format from the bytes of a file, so files, tests and the fuzzer share
// one parser. Reading is tolerant the way stored configurations need: the values read before
// the first line the format does not allow are kept and everything after it is ignored; a value
// with an empty name is read and dropped; a later value of the same name replaces an earlier
// one. Lines end at LF, CR or CR LF. Nothing here throws or fails.
#pragma once

#include "storage/ini/IniValueTable.h"

#include <string_view>

namespace rivode::storage {

// Stores every value read from bytes (UTF-8, without its byte-order mark) into table, as
// loading a key does. The bytes are copied into the table, whose string and list values stay views
// into that copy. Reading also ends at the first byte that starts no valid UTF-8 character (the
// text before it is read, as reading line by line would). false when the reading ended before the
// end of the bytes (the rest was not read).
bool ReadIniValueFile(std::string_view bytes, IniValueTable& table);
// The same for bytes the table keeps already (IniValueTable::KeepBytes): they are not copied.
bool ReadKeptIniValueFile(std::string_view keptBytes, IniValueTable& table);

// The texts of a list whose count continuation lines (each a blank, then UTF-8) the reading
// above kept as they stand: lists are split and decoded only when a caller reads them.
void ReadStoredTexts(std::string_view lines, std::uint32_t count, YStringArray& texts);

}  // namespace rivode::storage

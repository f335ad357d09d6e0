// Reading the value-file format from decoded text, so files, tests and the fuzzer share one
// parser. Reading is tolerant the way stored configurations need: the values read before the
// first line the format does not allow are kept and everything after it is ignored; a value
// with an empty name is read and dropped; a later value of the same name replaces an earlier
// one. Lines end at LF, CR or CR LF. Nothing here throws or fails.
#pragma once

#include "storage/IniValueTable.h"

#include <string_view>

namespace rivode::storage {

// Stores every value read from text into table, as loading a key does. false when the reading
// ended before the end of the text (the rest was not read).
bool ReadIniValueFile(std::u16string_view text, IniValueTable& table);

}  // namespace rivode::storage

// Key paths as users type them: key names separated by backslashes, as stored data writes them,
// or by '/', which can never be part of a key name. Empty components are ignored, so "", "\"
// and "/" all name the root key.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <string>
#include <string_view>
#include <vector>

namespace rivode::cli {

struct KeyPath {
    YStringArray names;

    bool IsRoot() const { return names.empty(); }
    // The path with backslashes, as messages show it; the root is shown as "\".
    std::string ToDisplayText() const;
};

// false with a problem when the text is not UTF-8 or holds "." or "..", which would leave the
// key tree instead of naming a key in it.
[[nodiscard]] bool ParseKeyPath(std::string_view text, KeyPath& path, std::string& problem);

// Whether a new key of this name can be a folder and file name on every platform a
// configuration folder moves to: no control characters, none of < > : " | ? *, no final dot or
// blank. Reserved device names are the library's own test (IsReservedDeviceName).
bool IsPortableKeyName(std::u16string_view name);

}  // namespace rivode::cli

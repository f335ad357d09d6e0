// Whether the system would put a given address of this process into a core dump, read from the
// flags the kernel shows for each mapping ("dd": do not dump).
#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace rivode::test {

// true when address lies in a mapping marked "do not dump"; false for any other mapping and for
// an address in none.
inline bool IsLeftOutOfCoreDumps(const void* address) {
    const auto where = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream maps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(maps, line);) {
        std::uintptr_t start = 0;
        std::uintptr_t end = 0;
        char dash = 0;
        std::istringstream range(line);
        // A mapping's first line is "start-end perms ..."; its attribute lines start with a name.
        if (range >> std::hex >> start >> dash >> end && dash == '-') {
            inside = start <= where && where < end;
        } else if (inside && line.starts_with("VmFlags:")) {
            return (line + " ").find(" dd ") != std::string::npos;
        }
    }
    return false;
}

}  // namespace rivode::test

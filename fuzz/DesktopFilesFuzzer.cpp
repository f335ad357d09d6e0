// Feeds arbitrary bytes to the readers of the desktop files the library reads: a sibling's
// version record and the user's list of default handlers. Neither may crash; setting the
// handlers must make them the ones the list names, and setting them again must change nothing.
#include "products/DesktopEntry.h"
#include "products/VersionRecord.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    (void)ParseVersionRecord(input);

    const std::vector<std::string> types{"x-scheme-handler/ssh", "x-scheme-handler/telnet"};
    const std::string once = SetDefaultHandlers(input, "quillterm.desktop", types);
    for (const std::string& type : types) {
        if (GetDefaultHandler(once, type) != "quillterm.desktop") {
            std::abort();
        }
    }
    if (SetDefaultHandlers(once, "quillterm.desktop", types) != once) {
        std::abort();
    }
    return 0;
}

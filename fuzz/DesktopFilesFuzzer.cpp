// Feeds arbitrary bytes to the readers of the desktop files the library reads: a sibling's
// version record, the user's list of default handlers and the user's named folders. None may
// crash; setting the handlers must make them the ones the list names, and setting them again
// must change nothing; a named folder is always absolute.
#include "platform/UserFolders.h"
#include "products/DesktopEntry.h"
#include "products/VersionRecord.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    (void)ParseVersionRecord(input);
    const std::optional<std::string> folder =
        rivode::platform::ParseUserFolder(input, "XDG_DOWNLOAD_DIR", "/home/user");
    if (folder && (folder->empty() || folder->front() != '/')) {
        std::abort();
    }

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

#include "environment/StatusIcons.h"

#include <RivodeRavudaVU/LibraryEntry.h>

#include <algorithm>
#include <array>
#include <atomic>

namespace {

struct StatusIconFile {
    YSessionStatus status;
    std::string_view fileName;
};

constexpr StatusIconFile kIconFiles[] = {
    {YSessionStatus::Connected, "session-connected.png"},
    {YSessionStatus::Disconnected, "session-disconnected.png"},
    {YSessionStatus::NewInput, "session-new-input.png"},
    {YSessionStatus::Inactive, "session-inactive.png"},
    {YSessionStatus::Locked, "session-locked.png"},
    {YSessionStatus::ScriptRunning, "session-script.png"},
    {YSessionStatus::Scratchpad, "session-scratchpad.png"},
};

using IconArray = std::array<YStatusIcon, std::size(kIconFiles)>;

IconArray FindIcons() {
    const std::span<const EmbeddedFile> files = GetEmbeddedIconFiles();
    IconArray icons{};
    std::transform(std::begin(kIconFiles), std::end(kIconFiles), icons.begin(),
                   [files](const StatusIconFile& wanted) {
                       const auto found =
                           std::find_if(files.begin(), files.end(), [&](const EmbeddedFile& file) {
                               return file.name == wanted.fileName;
                           });
                       return YStatusIcon{wanted.status, found != files.end()
                                                             ? found->bytes
                                                             : std::span<const std::uint8_t>()};
                   });
    return icons;
}

// Built once and never changed, so readers on any thread need no lock.
const IconArray& Icons() {
    static const IconArray icons = FindIcons();
    return icons;
}

std::atomic<bool> loaded{false};

}  // namespace

void LoadStatusIcons() {
    Icons();
    loaded.store(true);
}

std::span<const YStatusIcon> GetIconStatusArray() {
    if (!loaded.load()) {
        return {};
    }
    return Icons();
}

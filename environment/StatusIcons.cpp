#include "environment/StatusIcons.h"

#include <RivodeRavudaVU/LibraryEntry.h>

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

std::span<const std::uint8_t> FindFile(std::string_view name) {
    for (const EmbeddedFile& file : GetEmbeddedIconFiles()) {
        if (file.name == name) {
            return file.bytes;
        }
    }
    return {};
}

IconArray FindIcons() {
    IconArray icons{};
    for (std::size_t i = 0; i < icons.size(); ++i) {
        icons[i] = {kIconFiles[i].status, FindFile(kIconFiles[i].fileName)};
    }
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

// The table of the global values, built from the one list in GlobalConfigValues.inc, and the
// defaults its rows derive when the store lacks them.
#include <RivodeRavudaVU/GlobalConfig.h>

#include "platform/DesktopSettings.h"

#include <cmath>

namespace {

using namespace rivode::rows;
using Key = const YProfileKey*;

// A configuration that existed before these values keeps how it behaved; a new one gets the
// newer behaviour.
std::optional<bool> DefaultRightClickPopupShown(const GlobalConfig& global, Key) {
    return global.WasVersionStored();
}
std::optional<std::uint32_t> DefaultListViewSortStyle(const GlobalConfig& global, Key) {
    return global.WasVersionStored() ? 1u : 2u;
}
std::optional<std::uint32_t> DefaultQuillfileActionForFiles(const GlobalConfig& global, Key) {
    return global.WasVersionStored() ? 0u : 1u;
}

std::optional<std::uint32_t> DefaultTabWidth(const GlobalConfig&, Key) {
    return static_cast<std::uint32_t>(
        std::lround(GlobalConfig::kBaseTabWidth * rivode::platform::GetDesktopScaleFactor()));
}
std::optional<std::uint32_t> DefaultInitialSendCommandsTo(const GlobalConfig& global, Key) {
    return global.enableSendChatToAllTabsOnStartup ? 1u : 0u;
}
std::optional<bool> DefaultFontSmoothing(const GlobalConfig&, Key) {
    return rivode::platform::IsFontSmoothingEnabled();
}
std::optional<bool> DefaultZoomOnKeyboardShortcut(const GlobalConfig&, Key) {
    return rivode::platform::IsDesktopEnvironmentSession();
}

}  // namespace

const YProfileTable<GlobalConfig>& GlobalConfig::Table() {
    static const YProfileTable<GlobalConfig> table = [] {
        YProfileTable<GlobalConfig> rows;
#define RIVODE_GLOBAL_VALUE(Type, member, name, ...) \
    rows.Add(&GlobalConfig::member, name, __VA_ARGS__);
#define RIVODE_GLOBAL_MARKED(Type, member, name, marks, ...) \
    rows.Add(&GlobalConfig::member, name, marks, __VA_ARGS__);
#define RIVODE_GLOBAL_RECORD(Type, member) rows.AddRecord(&GlobalConfig::member);
#include <RivodeRavudaVU/GlobalConfigValues.inc>
#undef RIVODE_GLOBAL_VALUE
#undef RIVODE_GLOBAL_MARKED
#undef RIVODE_GLOBAL_RECORD
        return rows;
    }();
    return table;
}

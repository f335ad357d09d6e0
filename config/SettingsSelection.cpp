#include <RivodeRavudaVU/SettingsTransfer.h>

SettingsSelection::SettingsSelection(bool fileTransferInstalled, bool terminalLaunchable)
    : checked_(kSettingsGlobalOptions | kSettingsSessions | kSettingsButtonBars |
               kSettingsCommands),
      fileTransferInstalled_(fileTransferInstalled),
      terminalLaunchable_(terminalLaunchable) {}

bool SettingsSelection::IsShown(SettingsSelectionBit bit) const {
    switch (bit) {
        case kSettingsScheduledTasks:
            return fileTransferInstalled_;
        case kSettingsButtonBars:
        case kSettingsCommands:
            return terminalLaunchable_;
        default:
            return true;
    }
}

bool SettingsSelection::IsEnabled(SettingsSelectionBit bit) const {
    switch (bit) {
        case kSettingsButtonBars:
            return !IsChecked(kSettingsGlobalOptions) && !IsChecked(kSettingsSessions);
        case kSettingsCommands:
            return !IsChecked(kSettingsGlobalOptions);
        default:
            return true;
    }
}

bool SettingsSelection::SetChecked(SettingsSelectionBit bit, bool on) {
    if (!IsShown(bit) || !IsEnabled(bit)) {
        return false;
    }
    const bool buttonBarsWasEnabled = IsEnabled(kSettingsButtonBars);
    const bool commandsWasEnabled = IsEnabled(kSettingsCommands);
    checked_ = on ? (checked_ | bit) : (checked_ & ~static_cast<unsigned>(bit));
    ApplyEnablingRules(buttonBarsWasEnabled, commandsWasEnabled);
    return true;
}

// A disabled box stands for something the larger checked set already covers, so it shows as
// checked; once it is the user's own choice again it starts unchecked.
void SettingsSelection::ApplyEnablingRules(bool buttonBarsWasEnabled, bool commandsWasEnabled) {
    const auto follow = [this](SettingsSelectionBit bit, bool wasEnabled) {
        const bool enabled = IsEnabled(bit);
        if (enabled != wasEnabled) {
            checked_ = enabled ? (checked_ & ~static_cast<unsigned>(bit)) : (checked_ | bit);
        }
    };
    follow(kSettingsButtonBars, buttonBarsWasEnabled);
    follow(kSettingsCommands, commandsWasEnabled);
}

unsigned SettingsSelection::GetMask() const {
    unsigned mask = checked_;
    if (!terminalLaunchable_) {
        mask &= ~static_cast<unsigned>(kSettingsCommands);
    }
    return mask;
}

bool SettingsSelection::CanAccept(const YUnicodeString& path) const {
    if (path.empty()) {
        return false;
    }
    for (SettingsSelectionBit bit :
         {kSettingsGlobalOptions, kSettingsSessions, kSettingsScheduledTasks, kSettingsButtonBars,
          kSettingsCommands}) {
        if (IsShown(bit) && IsChecked(bit)) {
            return true;
        }
    }
    return false;
}

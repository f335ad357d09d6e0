// The firewalls stored under "Firewalls": opening, listing, naming, saving and deleting them.
#include <RivodeRavudaVU/FirewallDatabase.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionNameValidation.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include "config/SessionDatabaseTree.h"

#include <DavaraZE/YLabels.h>

namespace msg = rivode::msg;
using rivode::config::FailWith;

namespace {

constexpr std::u16string_view kFirewallTypeValueName = u"Firewall Type";

bool IsNoFirewall(const YUnicodeString& name) {
    return name == kNoFirewall;
}

void NotFound(const YUnicodeString& name, YReportMessageParams& report) {
    report.SetMessage(msg::FirewallNotFound);
    report.AddString(name);
}

// A key is a firewall only when it says which type it is.
bool HoldsFirewallType(const YProfileKey& key) {
    YUnicodeString type;
    return key.GetString(kFirewallTypeValueName, type);
}

// The spelling the store lists for name (which it found ignoring letter case).
YUnicodeString StoredName(const YProfileKey& firewalls, const YUnicodeString& name) {
    YProfileKeyIterator iterator(firewalls, false);
    YUnicodeString listed;
    while (iterator.Next(listed)) {
        if (rivode::EqualsNoCase(listed, name)) {
            return listed;
        }
    }
    return name;
}

// Stores firewall under to, then removes from: an interruption leaves both keys, never none.
bool MoveFirewall(FirewallConfig& firewall, const YUnicodeString& from, const YUnicodeString& to,
                  YReportMessageParams& report) {
    firewall.SetName(to);
    return SaveFirewall(firewall, report) && DeleteFirewall(from, report);
}

}  // namespace

YRefPtr<FirewallConfig> OpenFirewall(const YUnicodeString& name, YReportMessageParams& report) {
    if (IsNoFirewall(name)) {
        return CreateFirewallConfig(name);
    }
    YProfileStore store;
    const YProfileKey firewalls(store.GetRootKey(), kFirewallsKeyName);
    if (name.empty() || !firewalls.SubKeyExists(name)) {
        NotFound(name, report);
        return nullptr;
    }
    const YProfileKey key(firewalls, name);
    if (!HoldsFirewallType(key)) {
        if (!key.GetStatus().IsSuccess()) {
            FailWith(key.GetStatus(), msg::FirewallChangeFailed, name, report);
        } else {
            NotFound(name, report);
        }
        return nullptr;
    }
    YRefPtr<FirewallConfig> firewall = CreateFirewallConfig(StoredName(firewalls, name));
    firewall->Load(&key);
    // The upgrade of an older password writes into the key; it must reach the file even when the
    // caller only reads the firewall.
    if (!key.Flush()) {
        FailWith(key.GetStatus(), msg::FirewallChangeFailed, name, report);
        return nullptr;
    }
    return firewall;
}

YStringArray GetFirewallNames() {
    YStringArray names{YUnicodeString(kNoFirewall)};
    YProfileStore store(true);
    const YProfileKey firewalls(store.GetRootKey(), kFirewallsKeyName);
    YProfileKeyIterator iterator(firewalls, false);
    YUnicodeString name;
    while (iterator.Next(name)) {
        const YProfileKey key(firewalls, name);
        if (!IsNoFirewall(name) && HoldsFirewallType(key)) {
            names.push_back(name);
        }
    }
    return names;
}

bool ValidateFirewallName(const YUnicodeString& oldName, const YUnicodeString& newName, bool isNew,
                          YReportMessageParams& report) {
    if (rivode::EqualsNoCase(newName, kNoFirewall)) {
        report.SetMessage(msg::FirewallNameReserved);
        report.AddString(newName);
        return false;
    }
    YProfileStore store(true);
    const YProfileKey firewalls(store.GetRootKey(), kFirewallsKeyName);
    const bool taken = !newName.empty() && firewalls.SubKeyExists(newName);
    if (!ValidateKeyName(oldName, newName, isNew, LoadMessageString(msg::ItemKindFirewall), taken,
                         report)) {
        return false;
    }
    YRefPtr<YReportMessageParams> verdict;
    if (!firewalls.CheckSubKeyName(newName, &verdict)) {
        report = verdict ? *verdict : YReportMessageParams(msg::ItemNameIllegalCharacter);
        return false;
    }
    return true;
}

bool SaveFirewall(FirewallConfig& firewall, YReportMessageParams& report) {
    const YUnicodeString& name = firewall.GetName();
    if (IsNoFirewall(name) || name.empty()) {
        report.SetMessage(msg::FirewallNameReserved);
        report.AddString(name);
        return false;
    }
    YProfileStore store;
    const YProfileKey firewalls(store.GetRootKey(), kFirewallsKeyName, true);
    const bool existed = firewalls.SubKeyExists(name);
    {
        // A new key gets every value, also those the record loaded unchanged from another key
        // (a renamed firewall).
        const std::unique_ptr<YProfileKey> key =
            existed ? std::make_unique<YProfileKey>(firewalls, name)
                    : std::make_unique<YProfileCopyKey>(firewalls, name, true);
        if (!firewall.Save(*key) || !key->Flush()) {
            return FailWith(key->GetStatus(), msg::FirewallChangeFailed, name, report);
        }
    }
    firewall.CommitAll();
    return true;
}

bool DeleteFirewall(const YUnicodeString& name, YReportMessageParams& report) {
    YProfileStore store;
    const YProfileKey firewalls(store.GetRootKey(), kFirewallsKeyName);
    if (IsNoFirewall(name) || name.empty() || !firewalls.SubKeyExists(name)) {
        NotFound(name, report);
        return false;
    }
    if (!firewalls.DeleteSubKey(name)) {
        return FailWith(firewalls.GetStatus(), msg::FirewallChangeFailed, name, report);
    }
    return true;
}

bool RenameFirewall(const YUnicodeString& oldName, const YUnicodeString& newName,
                    FirewallPropagationCounts& counts, YReportMessageParams& report) {
    counts = {};
    const YRefPtr<FirewallConfig> firewall = OpenFirewall(oldName, report);
    if (!firewall) {
        return false;
    }
    if (IsNoFirewall(oldName)) {
        NotFound(oldName, report);
        return false;
    }
    if (!ValidateFirewallName(oldName, newName, false, report)) {
        return false;
    }
    // The key as listed, so that sessions are matched against the name they were given.
    const YUnicodeString storedOld = firewall->GetName();
    if (storedOld == newName) {
        return true;
    }
    if (!rivode::EqualsNoCase(storedOld, newName)) {
        if (!MoveFirewall(*firewall, storedOld, newName, report)) {
            return false;
        }
    } else {
        // Only the letter case changes: both spellings name one key in the store, so the
        // firewall moves through a free temporary name.
        YProfileStore store(true);
        const YProfileKey firewalls(store.GetRootKey(), kFirewallsKeyName);
        YUnicodeString temporary = newName + u'~';
        while (firewalls.SubKeyExists(temporary)) {
            temporary += u'~';
        }
        if (!MoveFirewall(*firewall, storedOld, temporary, report) ||
            !MoveFirewall(*firewall, temporary, newName, report)) {
            return false;
        }
    }
    YReportMessageParams failure;
    counts = PropagateFirewallChanges({{storedOld, newName}}, failure);
    if (counts.failed != 0) {
        WrapReport(report, msg::FirewallSessionsNotUpdated,
                   {rivode::FromAscii(std::to_string(counts.failed)), storedOld}, failure);
        return false;
    }
    return true;
}

FirewallComboBoxContents BuildFirewallComboBoxContents(const YUnicodeString& current,
                                                       const YStringArray& names,
                                                       bool offerNewFirewall) {
    FirewallComboBoxContents contents;
    contents.entries = names;
    YUnicodeString selected = current;
    if (std::optional<YUnicodeString> path = GetSessionFirewallPath(current)) {
        contents.sessionEntry = contents.entries.size();
        contents.entries.push_back(*path);
        selected = *path;
    }
    contents.entries.push_back(GetSelectSessionLabel());
    if (offerNewFirewall) {
        contents.entries.push_back(GetNewFirewallLabel());
    }
    if (contents.sessionEntry) {
        contents.selected = *contents.sessionEntry;
        return contents;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (rivode::EqualsNoCase(names[i], selected)) {
            contents.selected = i;
            break;
        }
    }
    return contents;
}

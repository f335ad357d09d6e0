// The stored firewalls (under "Firewalls" of the registered default store), the combo box
// through which a session chooses one, and carrying a firewall's new name into every session.
//
// Functions that change the store return false with the reason in report and show nothing.
#pragma once

#include <RivodeRavudaVU/FirewallConfig.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#pragma GCC visibility push(default)

class QWidget;

// The firewall called name: "None" gives a record of defaults named "None"; otherwise the key
// under "Firewalls" (letter case ignored) must exist and hold "Firewall Type". null with report
// filled (FirewallNotFound, or the store's reason when the key could not be read) otherwise.
YRefPtr<FirewallConfig> OpenFirewall(const YUnicodeString& name, YReportMessageParams& report);
// "None" first, then every key under "Firewalls" that opens as a firewall, in listing order.
YStringArray GetFirewallNames();

// Checks a new or changed firewall name: the rules of session names, taken names being those
// under "Firewalls"; "None" is reserved. A rename that only changes letter case is allowed.
[[nodiscard]] bool ValidateFirewallName(const YUnicodeString& oldName,
                                        const YUnicodeString& newName, bool isNew,
                                        YReportMessageParams& report);

// Writes every value of firewall under its name (a new key is made). "None" is refused.
[[nodiscard]] bool SaveFirewall(FirewallConfig& firewall, YReportMessageParams& report);
// Deletes the firewall's key. Sessions that name it are left as they are.
[[nodiscard]] bool DeleteFirewall(const YUnicodeString& name, YReportMessageParams& report);

// An ordered list of (old name, new name) pairs.
using FirewallChangeArray = std::vector<std::pair<YUnicodeString, YUnicodeString>>;

struct FirewallPropagationCounts {
    std::size_t seen = 0;     // sessions walked
    std::size_t updated = 0;  // sessions that took a new name and reached the disk
    std::size_t failed = 0;   // sessions that named an old name but could not be saved
};

// Replaces firewall names in every stored session: a session whose firewall name equals an old
// name exactly (letter case included) takes the new name of the first such change and is saved.
// Sessions that cannot be opened are skipped. The saves are synced once at the end; a session
// counts as updated only then. The first save failure is kept in firstFailure.
FirewallPropagationCounts PropagateFirewallChanges(const FirewallChangeArray& changes,
                                                   YReportMessageParams& firstFailure);

// The same on a worker thread while a progress window over parent shows progressText; a failure
// is shown in a message box. Call from the user-interface thread.
FirewallPropagationCounts UpdateSessionDatabaseWithFirewallChanges(
    const FirewallChangeArray& changes, const IReportMessageParams* progressText, QWidget* parent);

// Renames a firewall: validates the new name, saves the firewall under it, deletes the old key
// (unless only the letter case changed: the key is then the same) and carries the change into
// the sessions (PropagateFirewallChanges). counts tells how many sessions were updated; false
// when the firewall could not be renamed or any session could not be updated.
[[nodiscard]] bool RenameFirewall(const YUnicodeString& oldName, const YUnicodeString& newName,
                                  FirewallPropagationCounts& counts, YReportMessageParams& report);

// What a firewall combo box lists and selects.
struct FirewallComboBoxContents {
    YStringArray entries;
    std::size_t selected = 0;
    // The position of the entry added for a session used as a firewall, when there is one.
    std::optional<std::size_t> sessionEntry;
};
// The entries for current among names: a "Session:" name adds its session path; then the
// select-session label and, with offerNewFirewall, the new-firewall label. The current name
// (or the session path) is selected; a current name not in the list selects the first entry.
FirewallComboBoxContents BuildFirewallComboBoxContents(const YUnicodeString& current,
                                                       const YStringArray& names,
                                                       bool offerNewFirewall);

#pragma GCC visibility pop

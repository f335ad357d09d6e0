// GlobalProductConfig: the global values each product of the family keeps for itself, stored in
// the key "Global" under names that say which product they belong to.
//
// A record for the file-transfer product (6) or Ferrule (9) uses its value names with the suffix
// " QFL"; one for the terminal products (3, and the other family members) uses the plain names.
// The update-prompt values carry a prefix instead ("QFL " or "QTM "), and "Offer Help" becomes
// "Offer HelpX" for 6 and "Offer HelpFR" for 9. The terminal products' remembered sessions are
// written as "Remembered Sessions List V2"; a configuration that has only the older "Remembered
// Sessions List" is read from that.
//
// Used by one thread at a time, like its owning record.
#pragma once

#include <RivodeRavudaVU/ProductNumbers.h>
#include <RivodeRavudaVU/ProfileDockWindowState.h>
#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfileTable.h>
#include <RivodeRavudaVU/YProfileTime.h>

#include <cstdint>

#pragma GCC visibility push(default)

class GlobalProductConfig : public YProfileTableRecord<GlobalProductConfig> {
public:
    // "Auto Session": which sessions open at start-up, bit by bit.
    enum AutoSession : std::uint32_t {
        AutoSessionNone = 0,
        AutoSessionNamed = 1,       // the session "Auto Session Name"
        AutoSessionRemembered = 2,  // the sessions open when the product was last closed
        AutoSessionBoth = 3,        // both; the file-transfer products cannot open both
    };

    YProfile<bool> useDockableSessionManager;
    YProfile<bool> showSessionManager;
    ProfileDockWindowState sessionManagerWindowState;
    YProfile<bool> showToolbar;
    YProfile<bool> showMenuBar;
    YProfile<bool> showStatusBar;
    YProfile<bool> useAutoSession;
    YProfile<bool> useRememberedSessions;
    // When absent, follows from the two switches above.
    YProfile<std::uint32_t> autoSession;
    YProfileString autoSessionName;
    YProfileStringList rememberedSessionsList;
    YProfile<std::uint32_t> offerHelp;
    YProfile<bool> neverCheckForUpdates;
    YProfileTime updatePromptDate;

    // The values of product read from key (the defaults without one).
    GlobalProductConfig(const YProfileKey* key, int product);

    int GetProduct() const { return product_; }
    // The file-transfer products keep their values under the file-transfer names.
    static bool UsesTransferNames(int product) {
        return product == kProductQuillfile || product == kProductFerrule;
    }

    // The table of this record's product.
    const YProfileTable<GlobalProductConfig>& Table() const { return *table_; }

    // A file-transfer record reads "Auto Session" 3 as 0.
    void AfterLoad() override;

private:
    int product_;
    const YProfileTable<GlobalProductConfig>* table_;
};

#pragma GCC visibility pop

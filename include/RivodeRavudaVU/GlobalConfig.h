// GlobalConfig: the one application-wide configuration record of the host process, kept in the
// key "Global" (the file Global.ini of an INI configuration folder).
//
// It holds the 316 values of GlobalConfigValues.inc (among them the configuration passphrase's
// check value and the QuickSync record in the subkey "QuickSync"), the sub-record of the host
// product, for the terminal product running integrated a second one for the file-transfer
// product, the editor's sub-record, and, only when the host has a user interface, the GUI
// sub-record.
//
// Defaults that are derived when the store lacks the value:
// - "Right Click Popup Shown" true, "List View Sort Style" 1, "Quillfile Default Action For
//   Files" 0 for an existing configuration (one whose "Version" was stored); false, 2 and 1 for a
//   fresh one. "Version" itself is written when absent.
// - "Tab Width": kBaseTabWidth pixels times the desktop's scale factor
//   (rivode::platform::GetDesktopScaleFactor).
// - "Enable Font Smoothing": the desktop's font smoothing (rivode::platform::
//   IsFontSmoothingEnabled).
// - "Zoom on Keyboard Shortcut": on in sessions whose desktop leaves Ctrl with plus and minus to
//   applications (rivode::platform::IsDesktopEnvironmentSession).
// - "Initial Send Commands To Value": 1 (all tabs) when "Enable Send Chat To All Tabs On
//   Startup" is on, else 0 (the current tab).
//
// The record is counted: it starts with one reference and deletes itself when Release brings the
// count to zero. A record lock is held for the whole of a save and of a merge, so two threads
// may save one record; everything else is for one thread at a time.
#pragma once

#include <RivodeRavudaVU/GlobalEditorConfig.h>
#include <RivodeRavudaVU/GlobalGuiConfig.h>
#include <RivodeRavudaVU/GlobalProductConfig.h>
#include <RivodeRavudaVU/PrinterConfig.h>
#include <RivodeRavudaVU/ProfileColorLists.h>
#include <RivodeRavudaVU/ProfileCustomColors.h>
#include <RivodeRavudaVU/ProfileDockWindowState.h>
#include <RivodeRavudaVU/QuickSyncConfig.h>
#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfileBlob.h>
#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileExplorerFrameState.h>
#include <RivodeRavudaVU/YProfileListViewState.h>
#include <RivodeRavudaVU/YProfileLogFont.h>
#include <RivodeRavudaVU/YProfilePath.h>
#include <RivodeRavudaVU/YProfileTabState.h>
#include <RivodeRavudaVU/YProfileTable.h>
#include <RivodeRavudaVU/YProfileWindowPlacement.h>
#include <RivodeRavudaVU/YRefPtr.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>

#pragma GCC visibility push(default)

inline constexpr std::u16string_view kGlobalKeyName = u"Global";
// The configuration-format marker stored in "Version", and the older one still accepted when a
// configuration folder is checked.
inline constexpr std::u16string_view kGlobalConfigVersion = u"7B2F2717-85C8-4729-8394-3B7697039CEB";
inline constexpr std::u16string_view kGlobalConfigOlderVersion =
    u"0311ABC6-1CDD-46fc-A08A-0D7C00242FCA";

class GlobalConfig : public YProfileTableRecord<GlobalConfig> {
public:
#define RIVODE_GLOBAL_VALUE(Type, member, name, ...) Type member;
#define RIVODE_GLOBAL_MARKED(Type, member, name, marks, ...) Type member;
#define RIVODE_GLOBAL_RECORD(Type, member) Type member;
#include <RivodeRavudaVU/GlobalConfigValues.inc>
#undef RIVODE_GLOBAL_VALUE
#undef RIVODE_GLOBAL_MARKED
#undef RIVODE_GLOBAL_RECORD

    static constexpr std::uint32_t kBaseTabWidth = 150;

    // The host product's own values; for the terminal product running integrated the
    // file-transfer product's values too (nullptr otherwise).
    GlobalProductConfig productConfig;
    std::unique_ptr<GlobalProductConfig> integratedProductConfig;
    // Only with a user interface (nullptr otherwise).
    std::unique_ptr<GlobalGuiConfig> guiConfig;
    GlobalEditorConfig editorConfig;
    // The application-wide printing settings (PrinterConfig.h).
    PrinterConfig printerConfig;

    // Reads every value from key (the global key; defaults without one). product: the host's
    // product number; integrated: the terminal product runs integrated with the file-transfer
    // product; withUserInterface: the host has a user interface.
    GlobalConfig(const YProfileKey* key, int product, bool integrated, bool withUserInterface);
    GlobalConfig(const GlobalConfig&) = delete;
    GlobalConfig& operator=(const GlobalConfig&) = delete;

    unsigned long AddRef();
    unsigned long Release();

    // The 316 values of the key, in the order they are read.
    static const YProfileTable<GlobalConfig>& Table();

    int GetProduct() const {
        return product_;
    }
    bool IsIntegrated() const {
        return integrated_;
    }
    bool HasUserInterface() const {
        return guiConfig != nullptr;
    }
    // Whether "Version" was stored when the record was made (an existing configuration).
    bool WasVersionStored() const {
        return versionWasStored_;
    }

    // Saves under the record lock: the tab and frame states first, then the QuickSync record
    // when it is dirty, then every other value and the sub-records. Values that are not written
    // stay pending for the next save. false when any write failed.
    [[nodiscard]] bool Save(const YProfileKey& key) override;
    // Saves into the key "Global" of the registered default store and stores its file. false
    // with the reason in report when any value or the file could not be written; every value is
    // then written again on the next save.
    [[nodiscard]] bool SaveToStore(YReportMessageParams& report);
    // Reloads every value found in key, then puts back the passphrase check value and "Change
    // Config Passphrase": settings from elsewhere never replace the passphrase in use.
    void Merge(const YProfileKey& key);

    bool Load(const YProfileKey* key) override;
    bool IsChanged() const override;
    void CommitAll() override;
    void RevertAll() override;
    bool CopyFrom(const YProfileData& other) override;
    bool CopyChangesFrom(const YProfileData& source) override;

    // Calls visit(record) for each sub-record that exists: the product records, the GUI record,
    // the editor record.
    template <class Visit>
    void ForEachSubRecord(Visit&& visit) {
        VisitSubRecords(*this, visit);
    }
    template <class Visit>
    void ForEachSubRecord(Visit&& visit) const {
        VisitSubRecords(*this, visit);
    }

protected:
    ~GlobalConfig() override;

private:
    template <class Self, class Visit>
    static void VisitSubRecords(Self& self, Visit& visit) {
        visit(self.productConfig);
        if (self.integratedProductConfig) {
            visit(*self.integratedProductConfig);
        }
        if (self.guiConfig) {
            visit(*self.guiConfig);
        }
        visit(self.editorConfig);
        visit(self.printerConfig);
    }

    bool SaveLocked(const YProfileKey& key);

    std::atomic<long> references_{1};
    std::mutex recordLock_;
    int product_;
    bool integrated_;
    bool versionWasStored_ = false;
};

// The shared record of the process. Every function but GetGlobalConfigObsolete takes the
// singleton lock only to create, replace, detach or take a reference to the shared record; the
// lock is never held while a record saves or merges. The record is created on first use from the
// key "Global" of the registered default store, for the host product and flags given at
// initialisation.

// Creates the shared record when there is none; when out is not null stores it there with one
// added reference. Returns whether a record exists.
bool GetGlobalConfig(GlobalConfig** out);
// The same as a counted pointer.
YRefPtr<GlobalConfig> GetGlobalConfig();
// Creates the shared record when there is none and stores it in out without adding a reference
// and without the lock: out is valid only while the shared record is not replaced or freed.
void GetGlobalConfigObsolete(GlobalConfig*& out);
// Saves the shared record (creating it when needed); the lock is released before saving. The
// first form drops a failure: the values stay pending, so the next save writes them again.
void SaveGlobalConfig();
[[nodiscard]] bool SaveGlobalConfig(YReportMessageParams& report);
// Builds a new record from the store and makes it the shared one; holders of the old record
// keep it until they release it. When out is not null the new record is stored there with one
// added reference.
void ReloadGlobalConfig(GlobalConfig** out);
YRefPtr<GlobalConfig> ReloadGlobalConfig();
// Detaches the shared record and releases the library's reference.
void FreeGlobalConfig();
// Merges the values of key into the shared record (creating it when needed); see
// GlobalConfig::Merge.
void MergeGlobalConfig(const YProfileKey& key);
// Moves Global.ini of the configuration folder aside, to "Global-incomplete-" plus the local
// time as year, day, month, "_", hours, minutes, seconds (20240305_140509 for 3 May 2024
// 14:05:09) plus ".ini", replacing a file of that name. true when there is no Global.ini; false
// when the move failed.
[[nodiscard]] bool RenameGlobalConfig();

#pragma GCC visibility pop

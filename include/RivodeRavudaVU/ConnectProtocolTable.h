// The connection protocol table: one entry per protocol offered by the loaded protocol modules,
// shared by everything in the process that asks which protocols exist and how to configure
// one (session records, credentials, dialogs).
//
// Protocol modules are shared-library plug-ins. Loading a product's modules walks the product's
// rows of the module table, adds an entry for each, and hands the entry to the host's loader
// (YAppFnTable::loadModule). The loader opens the module file and calls the module's exported
// entry function (kConnectModuleEntryName), which fills the entry's function slots. Slots a
// module leaves alone keep default handlers that do nothing.
#pragma once

#include <RivodeRavudaVU/ConnectConfig.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

#pragma GCC visibility push(default)

struct ConnectProtocolEntry;
struct YAppFnTable;
class IProtocolPages;
class ISessionConfig;
class YPropertyTreeDialog;
class YPropertyTreePage;

// The slots a module fills: twenty in all, those not named here are reserved for the pages of
// the options dialogs and later needs.
struct ConnectProtocolFunctions {
    // A new configuration object for the entry's protocol with every value at its default, one
    // reference handed out; nullptr when the module cannot make one.
    ConnectConfig* (*createConfig)(const ConnectProtocolEntry& entry);
    // The port a new session of the protocol connects to; 0 when the protocol has none.
    std::uint32_t (*defaultPort)(const ConnectProtocolEntry& entry);
    // Whether sessions of the protocol may log on with a saved credential.
    bool (*offersSavedCredentials)(const ConnectProtocolEntry& entry);
    // Told once the protocols of an integrated sibling product are in the table too, so that a
    // module may offer them (opening a terminal session's host in the transfer product).
    void (*siblingProtocolsLoaded)(const ConnectProtocolEntry& entry);
    // Called before the module is closed; the entry's objects must be gone by then.
    void (*unload)(ConnectProtocolEntry& entry);
    // The protocol's pages in an options dialog (ProtocolPages.h), one new set handed out
    // (the dialog deletes it); nullptr when the protocol has no pages of its own. connectPage
    // is the page the set's pages go below.
    IProtocolPages* (*createPages)(const ConnectProtocolEntry& entry, YPropertyTreeDialog& dialog,
                                   int mode, ISessionConfig& session, int product,
                                   YPropertyTreePage& connectPage);

    static constexpr std::size_t kSlotCount = 20;
    static constexpr std::size_t kNamedSlotCount = 6;
    std::array<void (*)(), kSlotCount - kNamedSlotCount> reserved;
};

// Default handlers: no configuration, no port, no saved credentials, no pages, nothing to do.
ConnectProtocolFunctions GetDefaultConnectProtocolFunctions();

struct ConnectProtocolEntry {
    YUnicodeString name;         // "SSH2", "Telnet/SSL", "FTP/SSL (implicit)"
    YUnicodeString displayName;  // "Telnet/TLS", "FTP/TLS (implicit)"
    int product = 0;             // the product number of the module-table row
    YUnicodeString modulePath;   // the module file, with its folder
    ConnectProtocolFunctions functions = GetDefaultConnectProtocolFunctions();
    void* moduleHandle = nullptr;  // the loader's handle of the opened module; the loader owns it
};

// The host's callbacks handed to every module load; the library passes the table through.
struct YAppFnTable {
    // Opens entry.modulePath, lets the module fill entry.functions and keeps the module handle in
    // entry.moduleHandle. false with a report when the module cannot be used; the report
    // 0xE1370007 stops the loading of all further modules.
    bool (*loadModule)(const YAppFnTable& table, ConnectProtocolEntry& entry,
                       YReportMessageParams& report) = nullptr;
    // Told of every module that failed to load; the loading goes on with the next row.
    void (*moduleFailed)(const YAppFnTable& table, const ConnectProtocolEntry& entry,
                         const YReportMessageParams& report) = nullptr;
    // The host's own data for its callbacks.
    void* hostData = nullptr;
};

// The name of the function every protocol module exports:
//   extern "C" bool RivodeConnectModuleInit(const YAppFnTable* table,
//                                           ConnectProtocolEntry* entry,
//                                           YReportMessageParams* report);
// It fills entry->functions for entry->name and returns false with a report when the module
// does not serve that protocol.
inline constexpr const char* kConnectModuleEntryName = "RivodeConnectModuleInit";
using ConnectModuleEntryFunction = bool (*)(const YAppFnTable* table, ConnectProtocolEntry* entry,
                                            YReportMessageParams* report);

// The library's own loader: opens the module with the platform's dynamic loader and calls its
// entry function. Hosts without a loader of their own put it in YAppFnTable::loadModule (or
// leave that slot null). Before opening, the module file must pass the code-integrity check: a
// regular file that nobody outside its owner and group may write; one that fails is refused
// with 0xE1370007. A file that is missing or is not a module gives 0xE1380177 with the path and
// the reason; a module built against other library headers (its ConnectModuleStamp differs,
// or it exports none) is refused with 0xE1380942 / 0xE1380943 before anything in it runs; a
// module that declines the protocol gives its own report (0xE137000B when it gives none). A
// declined or failed module is closed again and the entry's slots are unchanged.
[[nodiscard]] bool LoadConnectProtocolModule(const YAppFnTable& table, ConnectProtocolEntry& entry,
                                             YReportMessageParams& report);

// Entries are added while modules load and never removed while the process runs, so references
// to them stay valid (a deque never moves its elements).
class ConnectProtocolTable {
public:
    std::size_t GetCount() const;
    // The entry at index; throws std::out_of_range past the end.
    const ConnectProtocolEntry& GetEntry(std::size_t index) const;
    // The entry of a protocol by name, without regard to case; nullptr when none.
    const ConnectProtocolEntry* Find(const YUnicodeString& name) const;
    // A new configuration object for the protocol, from its module; null when the protocol is
    // not in the table or its module makes none.
    ConnectConfigPtr CreateConfig(const YUnicodeString& name) const;

    // Loading adds entries here.
    ConnectProtocolEntry& Add(ConnectProtocolEntry entry);
    // Drops the entries added after the first count (a row whose module failed).
    void Truncate(std::size_t count);

private:
    mutable std::mutex mutex_;
    std::deque<ConnectProtocolEntry> entries_;
};

// The process's one table, made on first use (safe from any thread).
ConnectProtocolTable& GetConnectProtocolTable();

// Where the protocol modules are installed: the folder "rivoderavudavu/modules" beside this
// library. Hosts load from here unless they ship their modules elsewhere.
YUnicodeString GetDefaultConnectModuleFolder();

// Loads the protocol modules of product from folder into the process's table, and, when the
// product runs integrated (3 with Quillfile installed, 6 with Quillterm installed), the
// sibling's modules too, after which every entry is told (siblingProtocolsLoaded).
//
// Each of the product's protocols, in table order, gets an entry whose module file is
// folder + "/" + module file + ".so" and goes to table.loadModule. A protocol whose module fails
// is reported to table.moduleFailed and left out of the table; a failure 0xE1370007 (a module
// that fails the code-integrity check) stops at once and comes back in report. When no module
// of the product loads, report is 0xE1370008 with the folder. When the sibling's modules fail
// for another reason, the sibling counts as not installed from then on and loading succeeds.
// Protocols already in the table stay as they are, so a second call adds only what failed before.
//
// FIPS mode (fipsMode receives whether it is on): with the policy "Enable FIPS Mode" set, SSH1
// is not loaded, nor are the TLS-based protocols (Telnet/SSL, FTP/SSL, HTTPS) unless the policy
// "Ignore FIPS Mode for TLS" is set or the operating system itself runs in FIPS mode (its TLS
// libraries then keep to validated algorithms).
//
// Call from the host's thread at start-up.
[[nodiscard]] bool LoadConnectionProtocolDlls(const YAppFnTable& table, int product,
                                              const YUnicodeString& folder, bool& fipsMode,
                                              YReportMessageParams& report);
// The same without the sibling's modules.
[[nodiscard]] bool LoadSingleProductConnectionProtocolDlls(const YAppFnTable& table, int product,
                                                           const YUnicodeString& folder,
                                                           bool& fipsMode,
                                                           YReportMessageParams& report);

#pragma GCC visibility pop

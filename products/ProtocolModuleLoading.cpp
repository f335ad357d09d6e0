#include "products/ProtocolModuleLoading.h"

#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SiblingProducts.h>

#include "platform/FipsState.h"
#include "products/PolicyValues.h"

namespace {

constexpr char16_t kModuleExtension[] = u".so";

ConnectProtocolEntry MakeEntry(const ProtocolModuleRow& row, const YUnicodeString& folder) {
    ConnectProtocolEntry entry;
    entry.name = row.name;
    entry.displayName = row.displayName;
    entry.product = row.product;
    entry.modulePath = GetModulePath(row, folder);
    return entry;
}

// The entry goes into the table first so that the loader fills it in place (entries never
// move), and comes out again when its module fails: the table keeps only loaded protocols.
bool LoadRow(ConnectProtocolTable& protocols, const YAppFnTable& table,
             const ProtocolModuleRow& row, const YUnicodeString& folder,
             YReportMessageParams& report) {
    const std::size_t count = protocols.GetCount();
    ConnectProtocolEntry& entry = protocols.Add(MakeEntry(row, folder));
    const auto loader = table.loadModule != nullptr ? table.loadModule : LoadConnectProtocolModule;
    if (loader(table, entry, report)) {
        return true;
    }
    if (table.moduleFailed != nullptr) {
        table.moduleFailed(table, entry, report);
    }
    protocols.Truncate(count);
    return false;
}

void TellSiblingProtocolsLoaded(const ConnectProtocolTable& protocols) {
    for (std::size_t index = 0; index < protocols.GetCount(); ++index) {
        const ConnectProtocolEntry& entry = protocols.GetEntry(index);
        entry.functions.siblingProtocolsLoaded(entry);
    }
}

}  // namespace

const ConnectProtocolEntry* FindLoadedEntry(const ConnectProtocolTable& protocols,
                                            const ProtocolModuleRow& row) {
    for (std::size_t index = 0; index < protocols.GetCount(); ++index) {
        const ConnectProtocolEntry& entry = protocols.GetEntry(index);
        if (entry.product == row.product && entry.name == row.name) {
            return &entry;
        }
    }
    return nullptr;
}

YUnicodeString GetModulePath(const ProtocolModuleRow& row, const YUnicodeString& folder) {
    return folder + u"/" + row.moduleFile + kModuleExtension;
}

FipsSettings GetFipsSettings(int product) {
    FipsSettings fips;
    fips.enabled = IsPolicyEnabled(product, kPolicyEnableFipsMode);
    fips.tlsExempt = IsPolicyEnabled(product, kPolicyIgnoreFipsModeForTls) ||
                     rivode::platform::IsSystemFipsModeEnabled();
    return fips;
}

bool LoadProductModules(ConnectProtocolTable& protocols, const YAppFnTable& table, int product,
                        const YUnicodeString& folder, const FipsSettings& fips,
                        YReportMessageParams& report) {
    bool anyLoaded = false;
    for (const ProtocolModuleRow& row : GetProtocolModuleRows()) {
        if (row.product != product || !IsProtocolAllowed(row, fips)) {
            continue;
        }
        // Loading again (a second host call, the sibling's turn) keeps the entries already there.
        if (FindLoadedEntry(protocols, row) != nullptr) {
            anyLoaded = true;
            continue;
        }
        YReportMessageParams rowReport;
        if (LoadRow(protocols, table, row, folder, rowReport)) {
            anyLoaded = true;
        } else if (rowReport.GetMessageId() == rivode::msg::ProtocolModuleRejected) {
            report = rowReport;
            return false;
        }
    }
    if (!anyLoaded) {
        report.SetMessage(rivode::msg::NoProtocolModules);
        report.AddString(folder);
        return false;
    }
    return true;
}

bool LoadProductAndSiblingModules(ConnectProtocolTable& protocols, const YAppFnTable& table,
                                  int product, const YUnicodeString& folder,
                                  const FipsSettings& fips, YReportMessageParams& report) {
    if (!LoadProductModules(protocols, table, product, folder, fips, report)) {
        return false;
    }
    int sibling = 0;
    if (product == kProductQuillterm && IsQuillfileInstalled()) {
        sibling = kProductQuillfile;
    } else if (product == kProductQuillfile && IsQuilltermInstalled()) {
        sibling = kProductQuillterm;
    }
    if (sibling == 0) {
        return true;
    }
    YReportMessageParams siblingReport;
    if (LoadProductModules(protocols, table, sibling, folder, fips, siblingReport)) {
        TellSiblingProtocolsLoaded(protocols);
        return true;
    }
    if (siblingReport.GetMessageId() == rivode::msg::ProtocolModuleRejected) {
        report = siblingReport;
        return false;
    }
    // Without its protocols the sibling cannot work with this product, so it counts as absent.
    if (sibling == kProductQuillfile) {
        SetQuillfileInstalled(false);
    } else {
        SetQuilltermInstalled(false);
    }
    return true;
}

bool LoadConnectionProtocolDlls(const YAppFnTable& table, int product, const YUnicodeString& folder,
                                bool& fipsMode, YReportMessageParams& report) {
    const FipsSettings fips = GetFipsSettings(product);
    fipsMode = fips.enabled;
    return LoadProductAndSiblingModules(GetConnectProtocolTable(), table, product, folder, fips,
                                        report);
}

bool LoadSingleProductConnectionProtocolDlls(const YAppFnTable& table, int product,
                                             const YUnicodeString& folder, bool& fipsMode,
                                             YReportMessageParams& report) {
    const FipsSettings fips = GetFipsSettings(product);
    fipsMode = fips.enabled;
    return LoadProductModules(GetConnectProtocolTable(), table, product, folder, fips, report);
}

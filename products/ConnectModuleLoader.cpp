// The library's own module loader. Before a module file is opened it must pass the
// code-integrity check: it is a regular file (after links are followed) that nobody outside its
// owner and group may write. A module anyone could replace would run in every host process of
// the user, so such a file is refused with 0xE1370007, which stops the loading of all further
// modules: the installation is not to be trusted.
//
// Once open, the module's stamp must equal the library's own before anything in the module is
// called: a module left behind from another build lays out what it writes differently, and its
// entry function would corrupt the process instead of failing.
#include <RivodeRavudaVU/ConnectModuleStamp.h>
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include "platform/DynamicLibrary.h"

#include <cstdio>

namespace {

using namespace rivode::platform;

void ReportUnableToOpen(const std::string& path, const YUnicodeString& reason,
                        YReportMessageParams& report) {
    report.SetMessage(rivode::msg::UnableToOpenFile);
    report.AddString(path);
    report.AddString(reason);
}

bool PassesIntegrityCheck(const std::string& path, YReportMessageParams& report) {
    LibraryFileFacts facts;
    if (const int error = GetLibraryFileFacts(path, facts); error != 0) {
        YReportMessageParams reason;
        SetSystemErrorReport(reason, error);
        ReportUnableToOpen(path, reason.GetTextTrimmed(), report);
        return false;
    }
    if (!facts.regularFile || facts.writableByOthers) {
        report.SetMessage(rivode::msg::ProtocolModuleRejected);
        return false;
    }
    return true;
}

// "1.0a1b2c3d": the interface version, then the layout, as the report shows a stamp.
YUnicodeString StampText(const ConnectModuleStamp& stamp) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%08x", stamp.interfaceVersion, stamp.layout);
    return rivode::FromUtf8(text);
}

bool MatchesLibrary(void* library, const std::string& path, YReportMessageParams& report) {
    std::string error;
    const auto* stamp = static_cast<const ConnectModuleStamp*>(
        FindDynamicSymbol(library, kConnectModuleStampName, error));
    if (stamp == nullptr) {
        report.SetMessage(rivode::msg::ProtocolModuleWithoutStamp);
        report.AddString(rivode::FromUtf8(path));
        return false;
    }
    if (stamp->interfaceVersion == kConnectModuleStamp.interfaceVersion &&
        stamp->layout == kConnectModuleStamp.layout) {
        return true;
    }
    report.SetMessage(rivode::msg::ProtocolModuleBuiltForOtherLibrary);
    report.AddString(rivode::FromUtf8(path));
    report.AddString(StampText(*stamp));
    report.AddString(StampText(kConnectModuleStamp));
    return false;
}

bool CallEntryFunction(void* library, const YAppFnTable& table, ConnectProtocolEntry& entry,
                       const std::string& path, YReportMessageParams& report) {
    std::string error;
    void* symbol = FindDynamicSymbol(library, kConnectModuleEntryName, error);
    if (symbol == nullptr) {
        ReportUnableToOpen(path, rivode::FromUtf8(error), report);
        return false;
    }
    const auto entryFunction = reinterpret_cast<ConnectModuleEntryFunction>(symbol);
    if (entryFunction(&table, &entry, &report)) {
        return true;
    }
    // A module that declines without saying why still gets a report naming the protocol.
    if (report.GetMessageId() == 0) {
        report.SetMessage(rivode::msg::ProtocolNotAvailable);
        report.AddString(entry.name);
    }
    return false;
}

}  // namespace

bool LoadConnectProtocolModule(const YAppFnTable& table, ConnectProtocolEntry& entry,
                               YReportMessageParams& report) {
    const std::string path = rivode::ToUtf8(entry.modulePath);
    if (!PassesIntegrityCheck(path, report)) {
        return false;
    }
    std::string error;
    void* library = OpenDynamicLibrary(path, error);
    if (library == nullptr) {
        ReportUnableToOpen(path, rivode::FromUtf8(error), report);
        return false;
    }
    // The slots of a module that declines may be half filled; none of them may be called once
    // the module is closed.
    const ConnectProtocolFunctions before = entry.functions;
    if (!MatchesLibrary(library, path, report) ||
        !CallEntryFunction(library, table, entry, path, report)) {
        entry.functions = before;
        CloseDynamicLibrary(library);
        return false;
    }
    entry.moduleHandle = library;
    return true;
}

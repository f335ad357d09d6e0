#include <RivodeRavudaVU/SiblingProducts.h>

#include "platform/DynamicLibrary.h"
#include "platform/FileSystem.h"
#include "products/VersionRecord.h"

#include <mutex>

namespace {

constexpr std::string_view kCompanyName = "Yarrowby Software, Inc.";

struct SiblingExecutable {
    int product;
    const char* fileName;
    unsigned minimumMajorVersion;
    YUnicodeString path;  // where detection looked
    bool installed = false;
};

// Written at initialisation and by the setters, read from any thread.
std::mutex siblingsMutex;
SiblingExecutable siblings[] = {
    {kProductQtm, "QTM", 5, {}},
    {kProductQuillterm, "Quillterm", 5, {}},
    {kProductQuillfile, "Quillfile", 3, {}},
};

SiblingExecutable* FindSibling(int product) {
    for (SiblingExecutable& sibling : siblings) {
        if (sibling.product == product) {
            return &sibling;
        }
    }
    return nullptr;
}

// Only for the three products above.
SiblingExecutable& Sibling(int product) {
    return *FindSibling(product);
}

bool CountsAsInstalled(const std::string& path, unsigned minimumMajorVersion) {
    rivode::platform::FileInfo info;
    if (rivode::platform::FileSystem::Current().GetFileInfo(path, info) != 0 || !info.exists ||
        info.isFolder) {
        return false;
    }
    const auto record = ReadVersionRecord(path);
    return record && record->isApplication && record->majorVersion &&
           *record->majorVersion >= minimumMajorVersion && record->companyName == kCompanyName;
}

void Detect(const std::string& folder, SiblingExecutable& executable) {
    const std::string path = folder + "/" + executable.fileName;
    executable.installed = CountsAsInstalled(path, executable.minimumMajorVersion);
    executable.path = rivode::FromUtf8(path);
}

bool IsInstalled(int product) {
    std::lock_guard lock(siblingsMutex);
    return Sibling(product).installed;
}

void SetInstalled(int product, bool installed) {
    std::lock_guard lock(siblingsMutex);
    Sibling(product).installed = installed;
}

YUnicodeString GetPath(int product) {
    std::lock_guard lock(siblingsMutex);
    const SiblingExecutable& sibling = Sibling(product);
    return sibling.installed ? sibling.path : YUnicodeString();
}

}  // namespace

void DetectSiblingProducts(const std::string& folder) {
    std::lock_guard lock(siblingsMutex);
    for (SiblingExecutable& sibling : siblings) {
        Detect(folder, sibling);
    }
}

void DetectSiblingProducts() {
    DetectSiblingProducts(
        rivode::platform::GetBinaryFolder(reinterpret_cast<const void*>(&IsQtmInstalled)));
}

YUnicodeString GetSiblingExecutablePath(int product) {
    std::lock_guard lock(siblingsMutex);
    const SiblingExecutable* sibling = FindSibling(product);
    return sibling != nullptr ? sibling->path : YUnicodeString();
}

bool IsQtmInstalled() {
    return IsInstalled(kProductQtm);
}
bool IsQuilltermInstalled() {
    return IsInstalled(kProductQuillterm);
}
bool IsQuillfileInstalled() {
    return IsInstalled(kProductQuillfile);
}
void SetQuilltermInstalled(bool installed) {
    SetInstalled(kProductQuillterm, installed);
}
void SetQuillfileInstalled(bool installed) {
    SetInstalled(kProductQuillfile, installed);
}

YUnicodeString GetQtmPath() {
    return GetPath(kProductQtm);
}
YUnicodeString GetQuilltermPath() {
    return GetPath(kProductQuillterm);
}
YUnicodeString GetQuillfilePath() {
    return GetPath(kProductQuillfile);
}

bool CanLaunchTerminalApp() {
    return IsQuilltermInstalled();
}
bool HasTerminalProtocols() {
    return IsQuilltermInstalled() || IsQtmInstalled();
}
bool HasTransferProtocols() {
    return IsQuillfileInstalled();
}
bool HasIntegratedProtocols() {
    return HasTerminalProtocols() && HasTransferProtocols();
}

bool IsIntegrated(int product) {
    return (product == kProductQuillterm || product == kProductQuillfile) &&
           IsQuilltermInstalled() && IsQuillfileInstalled();
}

bool IsIntegrated(int product, YUnicodeString& siblingName) {
    if (!IsIntegrated(product)) {
        return false;
    }
    siblingName =
        GetProductDisplayName(product == kProductQuillterm ? kProductQuillfile : kProductQuillterm);
    return true;
}

int GetTerminalAppProductID(int product) {
    return product == kProductWyrmlink ? kProductWyrmlink : kProductQuillterm;
}
int GetTransferAppProductID(int product) {
    return product == kProductFerrule ? kProductFerrule : kProductQuillfile;
}

YUnicodeString GetProductDisplayName(int product) {
    switch (product) {
        case kProductQuillterm:
            return u"Quillterm";
        case kProductQuillfile:
            return u"Quillfile";
        case kProductWyrmlink:
            return u"Wyrmlink";
        case kProductFerrule:
            return u"Ferrule";
        default:
            return {};
    }
}

#include <RivodeRavudaVU/SiblingProducts.h>

#include "platform/DynamicLibrary.h"
#include "platform/FileSystem.h"
#include "products/SiblingPaths.h"
#include "products/VersionRecord.h"

#include <mutex>

namespace {

constexpr std::string_view kCompanyName = "Yarrowby Software, Inc.";

struct SiblingExecutable {
    const char* fileName;
    unsigned minimumMajorVersion;
    YUnicodeString path;
    bool installed = false;
};

struct Siblings {
    std::mutex mutex;
    SiblingExecutable qtm{"QTM", 5, {}};
    SiblingExecutable quillterm{"Quillterm", 5, {}};
    SiblingExecutable quillfile{"Quillfile", 3, {}};
};

Siblings& GetSiblings() {
    static Siblings siblings;
    return siblings;
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

bool IsInstalled(const SiblingExecutable Siblings::*executable) {
    auto& siblings = GetSiblings();
    std::lock_guard lock(siblings.mutex);
    return (siblings.*executable).installed;
}

void SetInstalled(SiblingExecutable Siblings::*executable, bool installed) {
    auto& siblings = GetSiblings();
    std::lock_guard lock(siblings.mutex);
    (siblings.*executable).installed = installed;
}

YUnicodeString GetPath(SiblingExecutable Siblings::*executable) {
    auto& siblings = GetSiblings();
    std::lock_guard lock(siblings.mutex);
    const auto& sibling = siblings.*executable;
    return sibling.installed ? sibling.path : YUnicodeString();
}

}  // namespace

void DetectSiblingProducts(const std::string& folder) {
    auto& siblings = GetSiblings();
    std::lock_guard lock(siblings.mutex);
    Detect(folder, siblings.qtm);
    Detect(folder, siblings.quillterm);
    Detect(folder, siblings.quillfile);
}

void DetectSiblingProducts() {
    DetectSiblingProducts(
        rivode::platform::GetBinaryFolder(reinterpret_cast<const void*>(&IsQtmInstalled)));
}

YUnicodeString GetSiblingExecutablePath(int product) {
    auto& siblings = GetSiblings();
    std::lock_guard lock(siblings.mutex);
    switch (product) {
        case 1:
            return siblings.qtm.path;
        case 3:
            return siblings.quillterm.path;
        case 6:
            return siblings.quillfile.path;
        default:
            return {};
    }
}

bool IsQtmInstalled() { return IsInstalled(&Siblings::qtm); }
bool IsQuilltermInstalled() { return IsInstalled(&Siblings::quillterm); }
bool IsQuillfileInstalled() { return IsInstalled(&Siblings::quillfile); }
void SetQuilltermInstalled(bool installed) { SetInstalled(&Siblings::quillterm, installed); }
void SetQuillfileInstalled(bool installed) { SetInstalled(&Siblings::quillfile, installed); }

YUnicodeString GetQtmPath() { return GetPath(&Siblings::qtm); }
YUnicodeString GetQuilltermPath() { return GetPath(&Siblings::quillterm); }
YUnicodeString GetQuillfilePath() { return GetPath(&Siblings::quillfile); }

bool CanLaunchTerminalApp() { return IsQuilltermInstalled(); }
bool HasTerminalProtocols() { return IsQuilltermInstalled() || IsQtmInstalled(); }
bool HasTransferProtocols() { return IsQuillfileInstalled(); }
bool HasIntegratedProtocols() { return HasTerminalProtocols() && HasTransferProtocols(); }

bool IsIntegrated(int product) {
    return (product == 3 || product == 6) && IsQuilltermInstalled() && IsQuillfileInstalled();
}

bool IsIntegrated(int product, YUnicodeString& siblingName) {
    if (!IsIntegrated(product)) {
        return false;
    }
    siblingName = GetProductDisplayName(product == 3 ? 6 : 3);
    return true;
}

int GetTerminalAppProductID(int product) { return product == 8 ? 8 : 3; }
int GetTransferAppProductID(int product) { return product == 9 ? 9 : 6; }

YUnicodeString GetProductDisplayName(int product) {
    switch (product) {
        case 3:
            return u"Quillterm";
        case 6:
            return u"Quillfile";
        case 8:
            return u"Wyrmlink";
        case 9:
            return u"Ferrule";
        default:
            return {};
    }
}

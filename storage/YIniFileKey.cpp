#include "storage/YIniFileKey.h"

#include "storage/IniFolderTree.h"
#include "storage/IniValueFileReader.h"
#include "storage/TextCodec.h"

#include <cerrno>

using rivode::platform::FileInfo;
using rivode::platform::FileSystem;
using rivode::storage::IniValueTable;

namespace {

// The value-file format has no escapes: a name ends at the first double quote and every line
// break ends a line, so such names and texts would come back as something else.
bool IsStorableValueName(std::u16string_view name) {
    return !name.empty() && name.find_first_of(u"\"\r\n") == std::u16string_view::npos;
}

bool IsStorableText(std::u16string_view text) {
    return text.find_first_of(u"\r\n") == std::u16string_view::npos;
}

// Readers and writers of one value file exclude each other with a lock on its first bytes.
constexpr std::uint64_t kLockOffset = 0;
constexpr std::uint64_t kLockLength = 4;

bool IsAnyShortcutName(std::u16string_view name) {
    return name == u"Is Session" || name == u"Is Command List";
}

}  // namespace

YIniFileKey::YIniFileKey(std::string mainPath, std::string personalPath, bool readOnly,
                         const YAccessControl* access, bool create)
    : mainPath_(std::move(mainPath)), personalPath_(std::move(personalPath)), readOnly_(readOnly) {
    if (access != nullptr) {
        access_ = *access;
    }
    if (!personalPath_.empty() &&
        rivode::EqualsNoCase(rivode::FromUtf8(personalPath_), rivode::FromUtf8(mainPath_))) {
        personalPath_.clear();
    }
    if (mainPath_.empty()) {
        // An empty configuration folder would put keys at the top of the file system.
        refused_ = true;
        SetSystemErrorReport(status_, ENOENT);
        return;
    }
    if (!create || readOnly_) {
        return;
    }
    if (const int error = rivode::storage::CreateFolderWithParents(mainPath_, FolderMode())) {
        SetSystemErrorReport(status_, error);
    }
    if (!personalPath_.empty()) {
        if (const int error = rivode::storage::CreateFolderWithParents(personalPath_, FolderMode())) {
            SetSystemErrorReport(status_, error);
        }
    }
}

YIniFileKey::YIniFileKey(RefusedTag, int error, bool readOnly) : readOnly_(readOnly), refused_(true) {
    SetSystemErrorReport(status_, error);
}

std::unique_ptr<YIniFileKey> YIniFileKey::MakeRefused(int error, bool readOnly) {
    return std::unique_ptr<YIniFileKey>(new YIniFileKey(RefusedTag{}, error, readOnly));
}

YIniFileKey::~YIniFileKey() {
    if (!readOnly_ && !refused_) {
        (void)Save();  // nobody is left to hear about a failure; Flush() is for callers who care
    }
}

bool YIniFileKey::Fail(int error) {
    SetSystemErrorReport(status_, error != 0 ? error : EIO);
    return false;
}

unsigned YIniFileKey::FolderMode() const { return access_ ? access_->FolderMode() : 0700; }
unsigned YIniFileKey::FileMode() const { return access_ ? access_->FileMode() : 0600; }

const std::string& YIniFileKey::MainValueFile() {
    if (mainValueFile_.empty()) {
        mainValueFile_ = rivode::storage::ResolveValueFile(mainPath_);
    }
    return mainValueFile_;
}

const FileInfo& YIniFileKey::MainFileInfo() {
    if (!mainFileInfo_) {
        FileInfo info;
        if (FileSystem::Current().GetFileInfo(MainValueFile(), info) != 0) {
            info = FileInfo{};
        }
        mainFileInfo_ = info;
    }
    return *mainFileInfo_;
}

void YIniFileKey::LoadValueFile(const std::string& path, std::string& bytes) {
    // The whole file is read in one transfer under the shared lock and decoded afterwards, so a
    // rewrite can never interleave with the read, the lock is held as briefly as possible and
    // the file is opened once.
    bytes.clear();
    std::unique_ptr<rivode::platform::File> file;
    if (FileSystem::Current().OpenFile(path, rivode::platform::FileAccessRead,
                                       rivode::platform::OpenDisposition::OpenExisting, 0, file,
                                       nullptr) != 0) {
        return;  // a missing or unreadable file is an empty key
    }
    if (file->Lock(kLockOffset, kLockLength, false) != 0) {
        return;
    }
    constexpr std::size_t kReadSize = 64 * 1024;
    std::size_t got = 0;
    do {
        const std::size_t filled = bytes.size();
        bytes.resize(filled + kReadSize);
        if (file->ReadAt(filled, bytes.data() + filled, kReadSize, got) != 0) {
            got = 0;  // what was read so far stands
        }
        bytes.resize(filled + got);
    } while (got > 0);
    (void)file->Unlock(kLockOffset, kLockLength);
}

void YIniFileKey::ReadValueFile(const std::string& path) {
    std::string bytes;
    LoadValueFile(path, bytes);
    YUnicodeString text;
    rivode::storage::DecodeFileText(bytes, text);
    rivode::storage::ReadIniValueFile(text, *table_);
}

IniValueTable& YIniFileKey::LoadedTable() {
    if (!table_) {
        table_ = std::make_shared<IniValueTable>(MainFileInfo().size);
        ReadValueFile(MainValueFile());
        if (!personalPath_.empty()) {
            ReadValueFile(rivode::storage::ResolveValueFile(personalPath_));
        }
        table_->personalChanged = false;
        table_->generalChanged = false;
    }
    return *table_;
}

YIniFileData* YIniFileKey::FindValue(std::u16string_view name) {
    if (refused_) {
        return nullptr;
    }
    return LoadedTable().Find(name);
}

bool YIniFileKey::CanStore(std::u16string_view name) {
    if (refused_) {
        return false;
    }
    return IsStorableValueName(name) || Fail(EINVAL);
}

bool YIniFileKey::GetSecurityValue(std::u16string_view name, YAccessControl& access) {
    YStringArray texts;
    // A binary platform security descriptor has no meaning on this platform: never accepted.
    return GetStringArray(name, texts) && access.FromStrings(texts);
}

bool YIniFileKey::GetStringArray(std::u16string_view name, YStringArray& value) {
    const YIniFileData* data = FindValue(name);
    return data != nullptr && data->GetStringArray(value);
}

bool YIniFileKey::GetBinary(std::u16string_view name, void* buffer, std::uint64_t& size) {
    const YIniFileData* data = FindValue(name);
    return data != nullptr && data->GetBinary(buffer, size);
}

bool YIniFileKey::GetString(std::u16string_view name, YUnicodeString& value) {
    const YIniFileData* data = FindValue(name);
    return data != nullptr && data->GetString(value);
}

bool YIniFileKey::GetDword(std::u16string_view name, std::uint32_t& value) {
    // Listing sessions asks every key whether it is one; answering from the file's existence
    // spares parsing thousands of files.
    if (!table_ && !refused_ && IsAnyShortcutName(name)) {
        const FileInfo& info = MainFileInfo();
        if (info.exists && !info.isFolder) {
            value = 1;
            return true;
        }
    }
    const YIniFileData* data = FindValue(name);
    return data != nullptr && data->GetDword(value);
}

void YIniFileKey::SetSecurityValue(std::u16string_view name, const YAccessControl& access) {
    (void)SetStringArray(name, access.ToStrings());
}

bool YIniFileKey::SetStringArray(std::u16string_view name, const YStringArray& value) {
    if (value.size() > 0xffffffffu) {
        return Fail(E2BIG);
    }
    for (const YUnicodeString& text : value) {
        if (!IsStorableText(text)) {
            return Fail(EINVAL);
        }
    }
    if (!CanStore(name)) {
        return false;
    }
    LoadedTable().Emplace<YIniFileDataStringSz>(name, value);
    return true;
}

bool YIniFileKey::SetBinary(std::u16string_view name, const void* bytes, std::uint64_t length) {
    if (length > 0xffffffffu || (bytes == nullptr && length != 0)) {
        return Fail(length > 0xffffffffu ? E2BIG : EINVAL);
    }
    if (!CanStore(name)) {
        return false;
    }
    LoadedTable().Emplace<YIniFileDataBinary>(name, bytes, length);
    return true;
}

bool YIniFileKey::SetString(std::u16string_view name, std::u16string_view value) {
    if (!IsStorableText(value)) {
        return Fail(EINVAL);
    }
    if (!CanStore(name)) {
        return false;
    }
    IniValueTable& table = LoadedTable();
    table.Emplace<YIniFileDataString>(name, table.CopyText(value));
    return true;
}

bool YIniFileKey::SetDword(std::u16string_view name, std::uint32_t value) {
    if (!CanStore(name)) {
        return false;
    }
    LoadedTable().Emplace<YIniFileDataDword>(name, value);
    return true;
}

bool YIniFileKey::DeleteValue(std::u16string_view name) {
    if (refused_) {
        return false;
    }
    if (!IsStorableValueName(name)) {
        return true;  // such a value cannot exist
    }
    LoadedTable().Erase(name);
    return true;
}

bool YIniFileKey::IsWritable() {
    if (refused_ || readOnly_) {
        return false;
    }
    const FileInfo& info = MainFileInfo();
    return !(info.exists && info.readOnly);
}

bool YIniFileKey::SetKeySecurity(const YAccessControl*) { return false; }

const YReportMessageParams& YIniFileKey::GetStatus() { return status_; }

void YIniFileKey::Rewrite() {
    if (refused_) {
        return;
    }
    if (!table_) {
        table_ = std::make_shared<IniValueTable>();
    }
    ReadValueFile(MainValueFile());
    if (!personalPath_.empty()) {
        ReadValueFile(rivode::storage::ResolveValueFile(personalPath_));
    }
    table_->personalChanged = true;
    table_->generalChanged = true;
    (void)Save();
    table_->personalChanged = false;
    table_->generalChanged = false;
}

void YIniFileKey::SetPersonalPath(std::u16string_view path) {
    if (refused_) {
        return;
    }
    if (!table_) {
        // Only the main file: values already in a personal file stay where they are until
        // a rewrite moves them.
        table_ = std::make_shared<IniValueTable>();
        ReadValueFile(MainValueFile());
        table_->personalChanged = false;
        table_->generalChanged = false;
    }
    personalPath_ = rivode::ToUtf8(path);
    if (!personalPath_.empty() &&
        rivode::EqualsNoCase(path, rivode::FromUtf8(mainPath_))) {
        personalPath_.clear();
    }
}

bool YIniFileKey::Flush() {
    if (refused_) {
        return false;
    }
    if (!Save()) {
        return false;
    }
    if (table_) {
        table_->personalChanged = false;
        table_->generalChanged = false;
    }
    return true;
}

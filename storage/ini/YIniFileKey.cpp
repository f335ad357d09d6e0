#include "storage/ini/YIniFileKey.h"

#include "storage/ini/IniFolderTree.h"
#include "storage/ini/IniValueFileReader.h"
#include "storage/ini/ValueFile.h"
#include "storage/text/TextCodec.h"

#include <algorithm>
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

// Asked for every value a preloaded key reads: the names are views of known length, so that
// most names are turned away by their length alone.
bool IsAnyShortcutName(std::u16string_view name) {
    using namespace std::string_view_literals;
    return name == u"Is Session"sv || name == u"Is Command List"sv;
}

}  // namespace

YIniFileKey::YIniFileKey(std::string mainPath, std::string personalPath, bool readOnly,
                         const YAccessControl* access, bool create, std::size_t resolvedLength,
                         Siblings siblings)
    : mainPath_(std::move(mainPath)),
      resolvedLength_(std::min(resolvedLength, mainPath_.size())),
      siblings_(std::move(siblings)),
      personalPath_(std::move(personalPath)),
      readOnly_(readOnly) {
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
    if (const int error = rivode::storage::CreateFolderWithParents(GetMainPath(), FolderMode())) {
        SetSystemErrorReport(status_, error);
    } else if (siblings_.main) {
        siblings_.main->AddFolder(std::string(LastComponent()));
    }
    if (!personalPath_.empty()) {
        if (const int error =
                rivode::storage::CreateFolderWithParents(personalPath_, FolderMode())) {
            SetSystemErrorReport(status_, error);
        } else if (siblings_.personal) {
            siblings_.personal->AddFolder(
                std::string(rivode::storage::LastPathComponent(personalPath_)));
        }
    }
}

YIniFileKey::YIniFileKey(RefusedTag, int error, bool readOnly)
    : readOnly_(readOnly), refused_(true) {
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

unsigned YIniFileKey::FolderMode() const {
    return access_ ? access_->FolderMode() : 0700;
}
unsigned YIniFileKey::FileMode() const {
    return access_ ? access_->FileMode() : 0600;
}

const std::string& YIniFileKey::GetMainPath() {
    if (resolvedLength_ >= mainPath_.size()) {
        return mainPath_;
    }
    // A subkey opened by its parent resolves against the parent's listing.
    mainPath_ = siblings_.main ? siblings_.main->ResolveSubKey(LastComponent())
                               : rivode::storage::ResolveKeyPathTail(mainPath_, resolvedLength_);
    resolvedLength_ = mainPath_.size();
    return mainPath_;
}

std::string_view YIniFileKey::LastComponent() const {
    return rivode::storage::LastPathComponent(mainPath_);
}

// Keys are opened far more often than their spelling differs from the disk's: the value file
// is first looked for exactly as named, which tells both where it is and what it is with one
// look-up; the path is matched without regard to case only when that finds nothing.
const std::string& YIniFileKey::MainValueFile() {
    if (!mainValueFile_.empty()) {
        return mainValueFile_;
    }
    const std::string exact = mainPath_ + std::string(rivode::storage::kValueFileExtension);
    std::string path = exact;
    FileInfo info;
    if (FileSystem::Current().GetFileInfo(path, info) != 0) {
        info = FileInfo{};
    }
    if (!info.exists) {
        if (siblings_.main) {
            GetMainPath();
            path = siblings_.main->ResolveValueFile(LastComponent());
        } else {
            path = rivode::storage::ResolveValueFile(GetMainPath());
        }
        if (path != exact && FileSystem::Current().GetFileInfo(path, info) != 0) {
            info = FileInfo{};
        }
    }
    mainValueFile_ = std::move(path);
    mainFileInfo_ = info;
    return mainValueFile_;
}

std::string YIniFileKey::PersonalValueFile() const {
    if (!siblings_.personal) {
        return rivode::storage::ResolveValueFile(personalPath_);
    }
    return siblings_.personal->ResolveValueFile(rivode::storage::LastPathComponent(personalPath_));
}

bool YIniFileKey::MainFileHoldsBytes() {
    const FileInfo& info = MainFileInfo();
    return info.exists && !info.isFolder && info.size > 0;
}

const FileInfo& YIniFileKey::MainFileInfo() {
    if (!mainFileInfo_) {
        if (mainValueFile_.empty()) {
            MainValueFile();  // resolves the file and looks at it in one
        } else {
            FileInfo info;
            if (FileSystem::Current().GetFileInfo(mainValueFile_, info) != 0) {
                info = FileInfo{};
            }
            mainFileInfo_ = info;
        }
    }
    return *mainFileInfo_;
}

namespace {

// Reading buffers kept for the thread. A file's block goes to the table that reads it; the
// buffers of a file in another encoding are reused, key after key.
thread_local rivode::storage::FileBytes readBytes;
thread_local YUnicodeString readText;
thread_local std::string convertedBytes;

}  // namespace

bool YIniFileKey::ReadKeyFiles(std::shared_ptr<IniValueTable>& table) {
    // The file is read as named first: keys are opened far more often than their spelling
    // differs from the disk's, and a file that is there needs no look-up before its opening.
    const bool resolved = !mainValueFile_.empty();
    const std::string exact =
        resolved ? mainValueFile_ : mainPath_ + std::string(rivode::storage::kValueFileExtension);
    bool committed = false;
    bool exists = false;
    bool read = ReadBytes(exact, &committed, false, exists);
    if (read && exists && !resolved) {
        mainValueFile_ = exact;
    } else if (read && !exists && !resolved && MainValueFile() != exact) {
        read = ReadBytes(mainValueFile_, &committed, false, exists);
    }
    if (!read) {
        // What could not be read is there all the same: the file's look tells, as before.
        mainFileHeldBytes_ = MainFileHoldsBytes();
        table = table ? table : std::make_shared<IniValueTable>();
        return false;
    }
    mainFileHeldBytes_ = exists;
    if (!table) {
        table = std::make_shared<IniValueTable>(readBytes.size());
    }
    ParseValueFile(MainValueFile(), readBytes, *table);
    if (personalPath_.empty()) {
        return true;
    }
    const std::string personalFile = PersonalValueFile();
    if (!ReadBytes(personalFile, nullptr, committed, exists)) {
        return false;
    }
    ParseValueFile(personalFile, readBytes, *table);
    return true;
}

bool YIniFileKey::ReadBytes(const std::string& path, bool* committed, bool partnerCommitted,
                            bool& exists) {
    if (const rivode::storage::ValueFileError error =
            rivode::storage::ReadValueFile(path, readBytes, exists, committed, partnerCommitted)) {
        // Nothing partial may ever be saved over the file: the key refuses to save.
        loadFailed_ = true;
        SetFileErrorReport(status_, error.error, error.path);
        return false;
    }
    return true;
}

void YIniFileKey::ParseValueFile(const std::string& path, rivode::storage::FileBytes& bytes,
                                 IniValueTable& table) {
    std::size_t markLength = 0;
    const YTextFile::Encoding encoding = rivode::storage::DetectByteOrderMark(bytes, markLength);
    std::string_view whole = bytes.View();
    std::string_view content = whole.substr(markLength);
    bool readToEnd = false;
    if (encoding == YTextFile::EncodingUtf8) {
        // The table keeps the bytes as read: its texts point into them.
        whole = table.KeepBytes(bytes.Release(), whole.size());
        content = whole.substr(markLength);
        readToEnd = rivode::storage::ReadKeptIniValueFile(content, table);
    } else {
        // A file in another encoding (an older one without a mark) is turned into UTF-8 first.
        // Decoding stops at the first byte that starts no valid character; the text before it
        // is read, as reading line by line would.
        readText.clear();
        const rivode::storage::TextDecodeResult decoded =
            rivode::storage::DecodeText(encoding, content, readText);
        convertedBytes.clear();
        // Decoded text pairs its surrogates, so it always has a UTF-8 form.
        (void)rivode::storage::EncodeText(YTextFile::EncodingUtf8, readText, convertedBytes);
        readToEnd = rivode::storage::ReadIniValueFile(convertedBytes, table) &&
                    decoded.consumed == content.size();
    }
    const auto damaged = std::find_if(damagedFiles_.begin(), damagedFiles_.end(),
                                      [&](const auto& entry) { return entry.first == path; });
    if (damaged != damagedFiles_.end()) {
        damagedFiles_.erase(damaged);
    }
    if (!readToEnd) {
        damagedFiles_.emplace_back(path, std::string(whole));
    }
}

IniValueTable& YIniFileKey::LoadedTable() {
    if (!table_) {
        (void)ReadKeyFiles(table_);
        table_->ClearChanges();
    }
    return *table_;
}

IniValueTable& YIniFileKey::ChangedTable() {
    shortcutFromRead_ = false;
    return LoadedTable();
}

void YIniFileKey::Preload() {
    if (refused_ || table_) {
        return;
    }
    LoadedTable();
    shortcutFromRead_ = true;
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
    if ((!table_ || shortcutFromRead_) && !refused_ && IsAnyShortcutName(name)) {
        // A key read by a Preload answers from that reading, as it would have before it.
        if (table_ ? shortcutFromRead_ && mainFileHeldBytes_ : MainFileHoldsBytes()) {
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
    ChangedTable().Emplace<YIniFileDataStringSz>(name, value);
    return true;
}

bool YIniFileKey::SetBinary(std::u16string_view name, const void* bytes, std::uint64_t length) {
    if (length > 0xffffffffu || (bytes == nullptr && length != 0)) {
        return Fail(length > 0xffffffffu ? E2BIG : EINVAL);
    }
    if (!CanStore(name)) {
        return false;
    }
    ChangedTable().Emplace<YIniFileDataBinary>(name, bytes, length);
    return true;
}

bool YIniFileKey::SetString(std::u16string_view name, std::u16string_view value) {
    if (!IsStorableText(value)) {
        return Fail(EINVAL);
    }
    if (!CanStore(name)) {
        return false;
    }
    IniValueTable& table = ChangedTable();
    table.Emplace<YIniFileDataString>(name, table.CopyText(value));
    return true;
}

bool YIniFileKey::SetDword(std::u16string_view name, std::uint32_t value) {
    if (!CanStore(name)) {
        return false;
    }
    ChangedTable().Emplace<YIniFileDataDword>(name, value);
    return true;
}

bool YIniFileKey::DeleteValue(std::u16string_view name) {
    if (refused_) {
        return false;
    }
    if (!IsStorableValueName(name)) {
        return true;  // such a value cannot exist
    }
    ChangedTable().Erase(name);
    return true;
}

bool YIniFileKey::IsWritable() {
    if (refused_ || readOnly_) {
        return false;
    }
    const FileInfo& info = MainFileInfo();
    return !(info.exists && info.readOnly);
}

bool YIniFileKey::SetKeySecurity(const YAccessControl*) {
    return false;
}

const YReportMessageParams& YIniFileKey::GetStatus() {
    return status_;
}

void YIniFileKey::Rewrite() {
    if (refused_) {
        return;
    }
    if (!table_) {
        table_ = std::make_shared<IniValueTable>();
    }
    shortcutFromRead_ = false;
    (void)ReadKeyFiles(table_);
    table_->personalChanged = true;
    table_->generalChanged = true;
    (void)Save();
    table_->ClearChanges();
}

void YIniFileKey::SetPersonalPath(std::u16string_view path) {
    if (refused_) {
        return;
    }
    if (!table_) {
        // Only the main file: values already in a personal file stay where they are until
        // a rewrite moves them.
        table_ = std::make_shared<IniValueTable>();
        bool exists = false;
        if (ReadBytes(MainValueFile(), nullptr, false, exists)) {
            ParseValueFile(MainValueFile(), readBytes, *table_);
        }
        table_->ClearChanges();
    }
    personalPath_ = rivode::ToUtf8(path);
    if (!personalPath_.empty() && rivode::EqualsNoCase(path, rivode::FromUtf8(GetMainPath()))) {
        personalPath_.clear();
    }
}

bool YIniFileKey::Flush() {
    if (refused_) {
        return false;
    }
    return Save();
}

// Saving a key: under the exclusive lock of each file it writes, the key reads the file again,
// applies only its own changes when another process changed it meanwhile, composes the text of
// the main file and of the personal file, and replaces each through its journal (ValueFile.h),
// so neither a failure nor a killed process loses a value that was stored before.

#include "storage/YIniFileKey.h"

#include "storage/IniFolderTree.h"
#include "storage/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <tuple>

using rivode::platform::FileInfo;
using rivode::platform::FileSystem;

using rivode::storage::IniValueTable;
using rivode::storage::ValueFileError;
using rivode::storage::ValueFileWriter;

namespace {

bool IsReadOnlyFile(const std::string& path) {
    FileInfo info;
    return FileSystem::Current().GetFileInfo(path, info) == 0 && info.exists && info.readOnly;
}

// Copies a value into another table under name.
void CopyValue(IniValueTable& table, std::u16string_view name, const YIniFileData& value) {
    switch (value.GetKind()) {
        case ValueKindDword: {
            std::uint32_t number = 0;
            (void)value.GetDword(number);
            table.Emplace<YIniFileDataDword>(name, number);
            return;
        }
        case ValueKindString: {
            YUnicodeString text;
            (void)value.GetString(text);
            table.Emplace<YIniFileDataString>(name, table.CopyText(text));
            return;
        }
        case ValueKindBinary: {
            std::uint64_t size = 0;
            (void)value.GetBinary(nullptr, size);
            std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
            (void)value.GetBinary(bytes.data(), size);
            table.Emplace<YIniFileDataBinary>(name, std::move(bytes));
            return;
        }
        case ValueKindMultiString: {
            YStringArray texts;
            (void)value.GetStringArray(texts);
            table.Emplace<YIniFileDataStringSz>(name, std::move(texts));
            return;
        }
        default:
            return;
    }
}

// The bytes of a value file: UTF-8 with its byte-order mark.
bool EncodeValueFile(const YUnicodeString& text, std::string& bytes) {
    bytes.assign(rivode::storage::ByteOrderMark(YTextFile::EncodingUtf8));
    return rivode::storage::EncodeText(YTextFile::EncodingUtf8, text, bytes);
}

}  // namespace

bool YIniFileKey::Fail(const ValueFileError& error) {
    SetFileErrorReport(status_, error.error != 0 ? error.error : EIO, error.path);
    return false;
}

std::shared_ptr<IniValueTable> YIniFileKey::MergeWithCurrent(ValueFileWriter* main,
                                                             ValueFileWriter* personal) {
    std::string mainBytes;
    std::string personalBytes;
    if (main != nullptr) {
        if (const ValueFileError error = main->ReadCurrent(mainBytes)) {
            Fail(error);
            return nullptr;
        }
    }
    if (personal != nullptr) {
        if (const ValueFileError error = personal->ReadCurrent(personalBytes)) {
            Fail(error);
            return nullptr;
        }
    }
    const bool mainSame =
        main == nullptr || rivode::storage::FingerprintOf(mainBytes) == mainFingerprint_;
    const bool personalSame = personal == nullptr ||
                              rivode::storage::FingerprintOf(personalBytes) == personalFingerprint_;
    if (mainSame && personalSame) {
        return table_;
    }
    // Another process saved meanwhile: start from what the files hold now. A file this save
    // does not write is read again too, so the key goes on seeing one consistent state.
    auto merged = std::make_shared<IniValueTable>(mainBytes.size() + personalBytes.size());
    bool exists = false;
    if (main == nullptr) {
        if (const ValueFileError error =
                rivode::storage::ReadValueFile(MainValueFile(), mainBytes, exists)) {
            Fail(error);
            return nullptr;
        }
    }
    mainFingerprint_ = rivode::storage::FingerprintOf(mainBytes);
    ParseValueFile(MainValueFile(), mainBytes, *merged);
    if (!personalPath_.empty()) {
        if (personal == nullptr) {
            if (const ValueFileError error =
                    rivode::storage::ReadValueFile(PersonalValueFile(), personalBytes, exists)) {
                Fail(error);
                return nullptr;
            }
        }
        personalFingerprint_ = rivode::storage::FingerprintOf(personalBytes);
        ParseValueFile(PersonalValueFile(), personalBytes, *merged);
    }
    merged->ClearChanges();
    table_->ForEachChange([&](std::u16string_view name, const YIniFileData* value, bool) {
        if (value != nullptr) {
            CopyValue(*merged, name, *value);
        } else {
            merged->Erase(name);
        }
    });
    merged->personalChanged = table_->personalChanged;
    merged->generalChanged = table_->generalChanged;
    return merged;
}

bool YIniFileKey::Save() {
    if (!table_ || (!table_->personalChanged && !table_->generalChanged)) {
        return true;
    }
    if (readOnly_ || refused_) {
        return Fail(EACCES);
    }
    if (loadFailed_) {
        return false;  // the status holds why the files could not be read
    }
    const bool hasPersonalPath = !personalPath_.empty();
    bool writeMain = table_->generalChanged;
    bool writePersonal = false;
    // A changed personal table is written even when its last value was deleted, so that the
    // deletion is stored rather than silently dropped.
    if (table_->personalChanged) {
        if (hasPersonalPath) {
            writePersonal = true;
        } else {
            writeMain = true;
        }
    }

    const std::string mainFile = writeMain ? MainValueFile() : std::string();
    const std::string personalFile = writePersonal ? PersonalValueFile() : std::string();
    if (writeMain && IsReadOnlyFile(mainFile)) {
        return Fail(ValueFileError{EACCES, mainFile});
    }
    if (writePersonal && IsReadOnlyFile(personalFile)) {
        return Fail(ValueFileError{EACCES, personalFile});
    }

    // Both files are opened and locked (main first, as every saver does) before either is
    // written, so a file that cannot be opened fails the save before anything has changed.
    ValueFileWriter main;
    ValueFileWriter personal;
    const auto discardCreated = [&] {
        main.DiscardCreated();
        personal.DiscardCreated();
    };
    if (writeMain) {
        if (const ValueFileError error = main.Open(mainFile, FileMode(), FolderMode())) {
            discardCreated();
            return Fail(error);
        }
    }
    if (writePersonal) {
        if (const ValueFileError error = personal.Open(personalFile, FileMode(), FolderMode())) {
            discardCreated();
            return Fail(error);
        }
    }
    const std::shared_ptr<IniValueTable> table =
        MergeWithCurrent(writeMain ? &main : nullptr, writePersonal ? &personal : nullptr);
    if (!table) {
        discardCreated();
        return false;
    }

    YUnicodeString mainText;
    YUnicodeString personalText;
    const bool personalChanged = table->personalChanged;
    const bool generalChanged = table->generalChanged;
    // Multi-string values go last: pass 1 writes every other kind, pass 2 the lists.
    for (const bool lists : {false, true}) {
        table->ForEachValue([&](std::u16string_view name, const YIniFileData& value, bool personal) {
            if ((value.GetKind() == ValueKindMultiString) != lists) {
                return;
            }
            if (personal && personalChanged && writePersonal) {
                value.WriteLines(name, personalText);
            } else if (writeMain && (generalChanged || !hasPersonalPath)) {
                value.WriteLines(name, mainText);
            }
        });
    }

    mainFileInfo_.reset();
    std::string bytes;
    const std::tuple<ValueFileWriter*, const YUnicodeString*, const std::string*,
                     rivode::storage::ValueFileFingerprint*>
        rewrites[] = {{writeMain ? &main : nullptr, &mainText, &mainFile, &mainFingerprint_},
                      {writePersonal ? &personal : nullptr, &personalText, &personalFile,
                       &personalFingerprint_}};
    for (const auto& [writer, text, path, fingerprint] : rewrites) {
        if (writer == nullptr) {
            continue;
        }
        if (!EncodeValueFile(*text, bytes)) {
            discardCreated();
            return Fail(ValueFileError{EILSEQ, *path});
        }
        if (const ValueFileError error = KeepDamagedContent(*path)) {
            discardCreated();
            return Fail(error);
        }
        if (const ValueFileError error = writer->Replace(bytes)) {
            discardCreated();
            return Fail(error);
        }
        *fingerprint = rivode::storage::FingerprintOf(bytes);
        if (writer->WasCreated()) {
            const auto& names = writer == &main ? siblings_.main : siblings_.personal;
            if (names) {
                names->AddValueFile(std::string(rivode::storage::LastPathComponent(
                    writer == &main ? mainPath_ : personalPath_)));
            }
        }
    }
    table_ = table;
    table_->ClearChanges();
    return true;
}

ValueFileError YIniFileKey::KeepDamagedContent(const std::string& path) {
    const auto damaged = std::find_if(damagedFiles_.begin(), damagedFiles_.end(),
                                      [&](const auto& entry) { return entry.first == path; });
    if (damaged == damagedFiles_.end()) {
        return {};
    }
    const std::string& bytes = damaged->second;
    std::string copyPath = path + ".damaged";
    std::unique_ptr<rivode::platform::File> copy;
    int error = EEXIST;
    for (int number = 2; error == EEXIST && number < 1000; ++number) {
        error = FileSystem::Current().OpenFile(
            copyPath,
            rivode::platform::FileAccessWrite | rivode::platform::FileAccessRegularOnly,
            rivode::platform::OpenDisposition::CreateNew, FileMode(), copy, nullptr);
        if (error == EEXIST) {
            copyPath = path + ".damaged-" + std::to_string(number);
        }
    }
    if (error == 0) {
        error = copy->WriteAt(0, bytes.data(), bytes.size());
    }
    if (error == 0 && !rivode::storage::ValueFileSyncBatch::IsOpen()) {
        error = copy->SyncData();
    }
    if (error != 0) {
        return {error, copyPath};
    }
    damagedFiles_.erase(damaged);
    return {};
}

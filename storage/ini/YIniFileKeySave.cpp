// Saving a key: under the exclusive lock of each file it writes, the key reads the file again,
// applies only its own changes when another process changed it meanwhile, composes the text of
// the main file and of the personal file, and replaces each through its journal (ValueFile.h),
// so neither a failure nor a killed process loses a value that was stored before.

#include "storage/ini/YIniFileKey.h"

#include "storage/ini/IniFolderTree.h"
#include "storage/text/TextCodec.h"

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

std::shared_ptr<IniValueTable> YIniFileKey::MergeWithCurrent(ValueFileWriter& main,
                                                             ValueFileWriter& personal) {
    rivode::storage::FileBytes mainBytes;
    rivode::storage::FileBytes personalBytes;
    const std::string mainFile = MainValueFile();
    const std::string personalFile = personalPath_.empty() ? std::string() : PersonalValueFile();
    for (auto [writer, bytes, path] : {std::tuple{&main, &mainBytes, &mainFile},
                                       std::tuple{&personal, &personalBytes, &personalFile}}) {
        bool exists = false;
        // A file this save does not write may not be open: it is read as any reader would.
        const ValueFileError error = writer->IsOpen() ? writer->ReadCurrent(*bytes)
                                     : path->empty()
                                         ? ValueFileError{}
                                         : rivode::storage::ReadValueFile(*path, *bytes, exists);
        if (error) {
            Fail(error);
            return nullptr;
        }
    }
    // Start from what the files hold now, whoever wrote it, and apply the names this key set
    // or deleted. Telling first whether another process saved meanwhile would cost every
    // loading a checksum of its files; a save reads them again anyway.
    auto merged = std::make_shared<IniValueTable>(mainBytes.size() + personalBytes.size());
    ParseValueFile(MainValueFile(), mainBytes, *merged);
    if (!personalPath_.empty()) {
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

    // Both files of the key are opened and locked (main first, as every saver does) before
    // either is written, so a file that cannot be opened fails the save before anything has
    // changed, and what a dead saver left of either is finished first. A file this save does
    // not write is not created.
    ValueFileWriter main;
    ValueFileWriter personal;
    const auto discardCreated = [&] {
        main.DiscardCreated();
        personal.DiscardCreated();
    };
    // A file this save does not write and may not write either (a read-only main file under
    // a writable personal one) is only read.
    const auto mayStayClosed = [](const ValueFileError& error, bool written) {
        return !written && (error.error == EACCES || error.error == EPERM || error.error == EROFS);
    };
    if (const ValueFileError error =
            main.Open(MainValueFile(), FileMode(), FolderMode(), writeMain);
        error && !mayStayClosed(error, writeMain)) {
        discardCreated();
        return Fail(error);
    }
    if (hasPersonalPath) {
        if (const ValueFileError error =
                personal.Open(PersonalValueFile(), FileMode(), FolderMode(), writePersonal);
            error && !mayStayClosed(error, writePersonal)) {
            discardCreated();
            return Fail(error);
        }
    }
    if (const ValueFileError error = ValueFileWriter::Recover(&main, &personal)) {
        discardCreated();
        return Fail(error);
    }
    const std::shared_ptr<IniValueTable> table = MergeWithCurrent(main, personal);
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
        table->ForEachValue(
            [&](std::u16string_view name, const YIniFileData& value, bool personal) {
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
    std::string mainBytes;
    std::string personalBytes;
    if ((writeMain && !EncodeValueFile(mainText, mainBytes)) ||
        (writePersonal && !EncodeValueFile(personalText, personalBytes))) {
        discardCreated();
        return Fail(ValueFileError{EILSEQ, writeMain ? mainFile : personalFile});
    }
    for (const std::string* path :
         {writeMain ? &mainFile : nullptr, writePersonal ? &personalFile : nullptr}) {
        if (path == nullptr) {
            continue;
        }
        if (const ValueFileError error = KeepDamagedContent(*path)) {
            discardCreated();
            return Fail(error);
        }
    }
    const ValueFileError error =
        writeMain && writePersonal
            ? ValueFileWriter::ReplacePair(main, mainBytes, personal, personalBytes)
        : writeMain ? main.Replace(mainBytes)
                    : personal.Replace(personalBytes);
    if (error) {
        discardCreated();
        return Fail(error);
    }
    if (main.WasCreated() && siblings_.main) {
        siblings_.main->AddValueFile(std::string(LastComponent()));
    }
    if (personal.WasCreated() && siblings_.personal) {
        siblings_.personal->AddValueFile(
            std::string(rivode::storage::LastPathComponent(personalPath_)));
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
            copyPath, rivode::platform::FileAccessWrite | rivode::platform::FileAccessRegularOnly,
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

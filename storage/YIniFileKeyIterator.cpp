#include "storage/YIniFileKeyIterator.h"

#include "platform/FileSystem.h"

#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YDiagnosticTrace.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <algorithm>
#include <cerrno>
#include <map>

namespace rivode::storage {

std::unique_ptr<YIniFileKeyIterator> YIniFileKeyIterator::ListValues(
    std::shared_ptr<IniValueTable> table) {
    auto iterator = std::make_unique<YIniFileKeyIterator>();
    iterator->entries_.reserve(table->GetSlotCount());
    for (std::size_t slot = 0; slot < table->GetSlotCount(); ++slot) {
        if (const YIniFileData* value = table->GetSlotValue(slot)) {
            iterator->entries_.push_back(Entry{table->GetSlotName(slot), value->GetKind(), slot});
        }
    }
    // Value names are exact, so two that differ only in case are both listed, next to each
    // other.
    std::sort(iterator->entries_.begin(), iterator->entries_.end(),
              [](const Entry& a, const Entry& b) {
                  const int order = CompareNoCase(a.name, b.name);
                  return order != 0 ? order < 0 : a.name < b.name;
              });
    iterator->table_ = std::move(table);
    return iterator;
}

std::unique_ptr<YIniFileKeyIterator> YIniFileKeyIterator::ListSubKeys(const std::string& folder) {
    auto iterator = std::make_unique<YIniFileKeyIterator>();
    std::vector<platform::FolderEntry> found;
    if (const int error = platform::FileSystem::Current().ListFolder(folder, found)) {
        // A key without a folder has no subkeys; any other reason leaves a listing empty that
        // should not be, which only a trace can explain.
        if (error != ENOENT && error != ENOTDIR && IsDiagnosticTraceOn()) {
            YReportMessageParams cause;
            SetSystemErrorReport(cause, error);
            YReportMessageParams trace;
            WrapReport(trace, rivode::msg::FolderListingFailed, {FromUtf8(folder)}, cause);
            TraceDiagnostic(trace);
        }
        return iterator;
    }
    const std::u16string_view extension = u".ini";
    std::map<YUnicodeString, int, LessNoCase> subKeys;
    for (const platform::FolderEntry& entry : found) {
        YUnicodeString name = FromUtf8(entry.name);
        int kind = ValueKindSubKeyFolder;
        if (!entry.isFolder) {
            if (name.size() <= extension.size() || !EndsWithNoCase(name, extension)) {
                continue;
            }
            name.resize(name.size() - extension.size());
            kind = ValueKindSubKeyFile;
        }
        const auto [position, added] = subKeys.emplace(std::move(name), kind);
        if (!added && position->second != kind) {
            position->second = ValueKindSubKeyFolderFile;
        }
    }
    iterator->subKeyNames_.reserve(subKeys.size());
    iterator->entries_.reserve(subKeys.size());
    for (auto& [name, kind] : subKeys) {
        iterator->subKeyNames_.push_back(name);
        iterator->entries_.push_back(Entry{iterator->subKeyNames_.back(), kind, 0});
    }
    return iterator;
}

bool YIniFileKeyIterator::Next(YUnicodeString& name, int& kind) {
    while (next_ < entries_.size()) {
        const Entry& entry = entries_[next_++];
        if (table_ && table_->GetSlotValue(entry.slot) == nullptr) {
            continue;  // deleted since the snapshot
        }
        name.assign(entry.name);
        kind = entry.kind;
        return true;
    }
    return false;
}

bool YIniFileKeyIterator::Next(YUnicodeString& name) {
    int kind = 0;
    return Next(name, kind);
}

}  // namespace rivode::storage

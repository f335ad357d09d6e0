#include "storage/ini/YIniFileKeyIterator.h"

#include "platform/FileSystem.h"

#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YDiagnosticTrace.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>

namespace rivode::storage {

namespace {

// A name upper-cased unit by unit and packed four units to a word, the first unit in the
// highest bits: comparing the words as numbers, then the lengths, orders names as CompareNoCase
// does (a shorter name that the longer one starts with, zero units padding it, comes first).
// Listing a key sorts a few hundred names, so each is folded once instead of in every one of
// the thousands of comparisons.
// Names are almost always ASCII: those fold here without a call.
char16_t FoldUnit(char16_t unit) {
    if (unit >= 0x80) {
        return ToUpperSimple(unit);
    }
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 0x20) : unit;
}

void AppendFoldedWords(std::u16string_view name, std::vector<std::uint64_t>& words) {
    for (std::size_t i = 0; i < name.size(); i += 4) {
        std::uint64_t word = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char16_t unit = i + k < name.size() ? FoldUnit(name[i + k]) : u'\0';
            word = (word << 16) | unit;
        }
        words.push_back(word);
    }
}

// The names of the thread's last listing of values, in slot order, and the order it listed them
// in. Keys of one kind (sessions above all) hold the same names in the same order, so listing
// thousands of them sorts once: a listing whose names are exactly the last one's takes its order.
class LastValueOrder {
public:
    // Whether entries (in slot order) hold the last listing's names.
    bool Matches(const std::vector<YIniFileKeyIterator::Entry>& entries) const {
        if (entries.size() != ends_.size()) {
            return false;
        }
        std::size_t start = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::u16string_view name = entries[i].name;
            if (name.size() != ends_[i] - start ||
                std::memcmp(name.data(), names_.data() + start, name.size() * sizeof(char16_t)) !=
                    0) {
                return false;
            }
            start = ends_[i];
        }
        return true;
    }
    void Remember(const std::vector<YIniFileKeyIterator::Entry>& entries, std::uint64_t shape) {
        shape_ = shape;
        names_.clear();
        ends_.clear();
        slots.clear();
        for (const YIniFileKeyIterator::Entry& entry : entries) {
            names_.append(entry.name);
            ends_.push_back(names_.size());
            slots.push_back(entry.slot);
        }
    }
    // Whether table is of the last listing's shape (see IniValueTable::GetShape), which makes its
    // listing that listing's without a name compared: the same names, with values in the same
    // slots.
    bool SharesShape(const IniValueTable& table) const {
        const std::uint64_t shape = table.GetShape();
        if (shape == 0 || shape != shape_) {
            return false;
        }
        std::size_t values = 0;
        for (std::size_t slot = 0; slot < table.GetSlotCount(); ++slot) {
            values += table.GetSlotValue(slot) != nullptr ? 1 : 0;
        }
        return values == slots.size();
    }

    std::vector<std::uint32_t> order;  // indices into the listing in slot order
    std::vector<std::size_t> slots;    // the listing's slots, in slot order

private:
    YUnicodeString names_;
    std::vector<std::size_t> ends_;
    std::uint64_t shape_ = 0;
};
thread_local LastValueOrder lastValueOrder;

}  // namespace

std::unique_ptr<YIniFileKeyIterator> YIniFileKeyIterator::ListValues(
    std::shared_ptr<IniValueTable> table) {
    auto iterator = std::make_unique<YIniFileKeyIterator>();
    std::vector<Entry>& entries = iterator->entries_;
    LastValueOrder& last = lastValueOrder;
    if (last.SharesShape(*table)) {
        // Listed straight in the last listing's order: keys of one kind list thousands of times.
        entries.reserve(last.order.size());
        for (const std::uint32_t index : last.order) {
            const std::size_t slot = last.slots[index];
            entries.push_back(
                Entry{table->GetSlotName(slot), table->GetSlotValue(slot)->GetKind(), slot});
        }
        iterator->table_ = std::move(table);
        return iterator;
    }
    entries.reserve(table->GetSlotCount());
    for (std::size_t slot = 0; slot < table->GetSlotCount(); ++slot) {
        if (const YIniFileData* value = table->GetSlotValue(slot)) {
            entries.push_back(Entry{table->GetSlotName(slot), value->GetKind(), slot});
        }
    }
    const std::uint64_t shape = table->GetShape();
    iterator->table_ = std::move(table);
    if (last.Matches(entries)) {
        std::vector<Entry> ordered;
        ordered.reserve(entries.size());
        for (const std::uint32_t index : last.order) {
            ordered.push_back(entries[index]);
        }
        entries = std::move(ordered);
        return iterator;
    }
    struct SortKey {
        std::size_t entry;
        std::size_t firstWord;
        std::size_t wordCount;
    };
    std::vector<SortKey> keys;
    std::vector<std::uint64_t> words;
    keys.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::u16string_view name = entries[i].name;
        keys.push_back(SortKey{i, words.size(), (name.size() + 3) / 4});
        AppendFoldedWords(name, words);
    }
    // Value names are exact, so two that differ only in case are both listed, next to each
    // other.
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        const std::uint64_t* x = words.data() + a.firstWord;
        const std::uint64_t* y = words.data() + b.firstWord;
        const std::size_t common = std::min(a.wordCount, b.wordCount);
        for (std::size_t i = 0; i < common; ++i) {
            if (x[i] != y[i]) {
                return x[i] < y[i];
            }
        }
        const std::u16string_view nameA = entries[a.entry].name;
        const std::u16string_view nameB = entries[b.entry].name;
        if (nameA.size() != nameB.size()) {
            return nameA.size() < nameB.size();
        }
        return nameA < nameB;
    });
    std::vector<Entry> sorted;
    sorted.reserve(keys.size());
    last.order.clear();
    for (const SortKey& key : keys) {
        sorted.push_back(entries[key.entry]);
        last.order.push_back(static_cast<std::uint32_t>(key.entry));
    }
    last.Remember(entries, shape);
    entries = std::move(sorted);
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
        if (table_) {
            table_->ExpectLookup(entry.slot);
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

// The value table of an INI folder store key: the personal table (the fixed list of personal
// value names, each mapped to a value or to none) and the general table (every other name),
// each with a changed flag. Names are exact (case-sensitive) and hashed with 64-bit FNV-1a over
// their UTF-16 bytes.
//
// Entries keep the order in which their names were first read or added, so a key rewrites its
// values in a stable order. Deleting a value maps its name to none; names are never removed.
#pragma once

#include "storage/YIniFileData.h"

#include <RivodeRavudaVU/YUnicodeString.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace rivode::storage {

std::uint64_t HashValueName(std::u16string_view name);

inline constexpr std::size_t kPersonalValueCount = 25;
// The personal value names in their fixed order.
std::u16string_view GetPersonalValueName(std::size_t index);
// The index of name in the personal value list, or -1.
int FindPersonalValue(std::u16string_view name, std::uint64_t hash);
inline int FindPersonalValue(std::u16string_view name) {
    return FindPersonalValue(name, HashValueName(name));
}

class IniValueTable {
public:
    IniValueTable();
    IniValueTable(const IniValueTable&) = delete;
    IniValueTable& operator=(const IniValueTable&) = delete;

    // The value of name (personal table first), or nullptr when absent or deleted.
    YIniFileData* Find(std::u16string_view name) const;
    // Replaces or adds the value (nullptr maps the name to none) and sets the changed flag of
    // the table the name belongs to.
    void Store(std::u16string_view name, std::unique_ptr<YIniFileData> value);

    bool personalChanged = false;
    bool generalChanged = false;

    // How many personal names map to a value.
    std::size_t CountPersonalValues() const;

    // Every entry that maps to a value: personal entries first, in list order, then general
    // entries in the order their names were first stored. visit(name, value, isPersonal).
    template <class Visit>
    void ForEachValue(Visit&& visit) const {
        for (std::size_t i = 0; i < kPersonalValueCount; ++i) {
            if (personal_[i]) {
                visit(GetPersonalValueName(i), *personal_[i], true);
            }
        }
        for (const Entry& entry : general_) {
            if (entry.value) {
                visit(std::u16string_view(entry.name), *entry.value, false);
            }
        }
    }

private:
    struct Entry {
        std::uint64_t hash;
        YUnicodeString name;
        std::unique_ptr<YIniFileData> value;
    };

    std::size_t FindGeneral(std::u16string_view name, std::uint64_t hash) const;
    void Grow();

    std::array<std::unique_ptr<YIniFileData>, kPersonalValueCount> personal_;
    std::vector<Entry> general_;
    // Open addressing over general_: each slot holds an entry index + 1, 0 when free.
    std::vector<std::uint32_t> slots_;
};

}  // namespace rivode::storage

// The value table of an INI folder store key: the personal table (the fixed list of personal
// value names, each mapped to a value or to none) and the general table (every other name),
// each with a changed flag. Names are exact (case-sensitive) and hashed over their UTF-16 code
// units (HashValueName).
//
// A key holds a few hundred values and is read whole, so the table owns one arena for its
// names, texts and value objects, and keeps the blocks of the files it was read from (texts and
// lists read from a file stay views into those bytes, and byte strings live in the arena, until
// they change): loading a key costs a handful of allocations instead of several per value. Keys of
// one kind hold the same names: a table read the way the thread's last one was shares that
// reading's decoded names instead of holding its own (see BeginLoad). Entries keep the order in
// which their names were first read or added, so a key rewrites its values in a stable order.
// Deleting a value maps its name to none; names are never removed, which keeps every entry's slot
// number valid for the table's lifetime.
#pragma once

#include "storage/ini/YIniFileData.h"

#include <RivodeRavudaVU/YUnicodeString.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <string_view>
#include <utility>
#include <vector>

namespace rivode::storage {

// The hash of a value name over its UTF-16 code units, eight bytes at a time: names are looked
// up for every value read or written, and a hash that takes one multiplication per character
// costs more than the look-up it serves. It is never stored.
std::uint64_t HashValueName(std::u16string_view name);

inline constexpr std::size_t kPersonalValueCount = 25;
// The personal value names in their fixed order.
std::u16string_view GetPersonalValueName(std::size_t index);
// The index of name in the personal value list, or -1.
int FindPersonalValue(std::u16string_view name, std::uint64_t hash);
inline int FindPersonalValue(std::u16string_view name) {
    return FindPersonalValue(name, HashValueName(name));
}

// What a thread remembers of its last reading of a file into an empty table.
struct LoadShape;

class IniValueTable {
public:
    // expectedBytes sizes the arena's first block (the size of the files about to be read).
    explicit IniValueTable(std::size_t expectedBytes = 0);
    ~IniValueTable();
    IniValueTable(const IniValueTable&) = delete;
    IniValueTable& operator=(const IniValueTable&) = delete;

    // The value of name (personal table first), or nullptr when absent or deleted.
    YIniFileData* Find(std::u16string_view name) const;

    // Makes a value of kind T in the table's arena and stores it under name, replacing any
    // value of that name, and sets the changed flag of the table the name belongs to.
    template <class T, class... Args>
    void Emplace(std::u16string_view name, Args&&... args) {
        EmplaceHashed<T>(name, HashValueName(name), std::forward<Args>(args)...);
    }
    // The same when the name's hash is known already.
    template <class T, class... Args>
    void EmplaceHashed(std::u16string_view name, std::uint64_t hash, Args&&... args) {
        shape_ = 0;
        Store(name, hash, NewValue<T>(std::forward<Args>(args)...), true);
    }
    // The same for a name LoadName gave: a new entry keeps it as it is.
    template <class T, class... Args>
    void EmplaceArenaName(std::u16string_view name, Args&&... args) {
        YIniFileData* value = NewValue<T>(std::forward<Args>(args)...);
        if (loadPosition_ != kNotLoading) {
            StoreLoaded(name, value);
        } else {
            shape_ = 0;
            (void)Store(name, HashValueName(name), value, false);
        }
    }

    // Brackets the reading of a file. Keys of one kind hold the same names in the same order,
    // so a file read into an empty table follows the thread's last such reading while its
    // names are that reading's: each name then goes where it went then, without hashing or
    // probing the index. From the first name that differs on, the table places names itself
    // and the thread remembers this reading instead.
    void BeginLoad();
    void EndLoad();
    // A number that two tables share only when their slots hold the same names (a reading of a
    // file into an empty table that followed the same reading, on any thread); 0 when unknown,
    // as after a second file or any change.
    std::uint64_t GetShape() const { return shape_; }
    // Maps name to none (the value is deleted) and sets the changed flag.
    void Erase(std::u16string_view name) {
        shape_ = 0;
        Store(name, HashValueName(name), nullptr, true);
    }

    // A copy of text in the arena, alive as long as the table.
    std::u16string_view CopyText(std::u16string_view text);
    std::string_view CopyBytes(std::string_view bytes);
    // Takes over a block holding a file's bytes (its first size), alive as long as the table.
    std::string_view KeepBytes(std::unique_ptr<char[]> block, std::size_t size);
    // Room for size bytes in the arena, alive as long as the table.
    std::uint8_t* AllocateBytes(std::size_t size);
    // A name a reader read (valid UTF-8) as UTF-16, for EmplaceArenaName right after: the
    // name the thread's last reading shared when the names so far and this one are the same
    // as that reading's, else decoded into the arena.
    std::u16string_view LoadName(std::string_view utf8);

    bool personalChanged = false;
    bool generalChanged = false;

    // Forgets which names were stored or erased: after loading, and after a save.
    void ClearChanges();
    // Every name stored or erased since the last ClearChanges, in slot order, with its value
    // (nullptr for an erased one). visit(name, value, isPersonal).
    template <class Visit>
    void ForEachChange(Visit&& visit) const {
        for (std::size_t slot = 0; slot < kPersonalValueCount; ++slot) {
            if (personalSlotChanged_[slot]) {
                visit(GetPersonalValueName(slot), personal_[slot], true);
            }
        }
        for (const Entry& entry : general_) {
            if (entry.changed) {
                visit(entry.name, static_cast<const YIniFileData*>(entry.value), false);
            }
        }
    }

    // How many personal names map to a value.
    std::size_t CountPersonalValues() const;

    // Slots number every name the table has held: the personal names first, then the general
    // names in the order they were first stored. A slot's value is nullptr when none.
    std::size_t GetSlotCount() const { return kPersonalValueCount + general_.size(); }
    std::u16string_view GetSlotName(std::size_t slot) const;
    const YIniFileData* GetSlotValue(std::size_t slot) const;
    static bool IsPersonalSlot(std::size_t slot) { return slot < kPersonalValueCount; }
    // Tells the table that the next look-up is likely the name of slot: a listing hands out
    // names in its own order, and its caller usually reads each value as it is listed.
    void ExpectLookup(std::size_t slot) const {
        if (!IsPersonalSlot(slot)) {
            nextGeneral_ = slot - kPersonalValueCount;
        }
    }

    // Every entry that maps to a value, in slot order. visit(name, value, isPersonal).
    template <class Visit>
    void ForEachValue(Visit&& visit) const {
        for (std::size_t slot = 0; slot < GetSlotCount(); ++slot) {
            if (const YIniFileData* value = GetSlotValue(slot)) {
                visit(GetSlotName(slot), *value, IsPersonalSlot(slot));
            }
        }
    }

private:
    struct Entry {
        std::uint64_t hash = 0;
        std::u16string_view name;       // in the arena
        YIniFileData* value = nullptr;  // in the arena; nullptr when none
        bool changed = false;           // stored or erased since the last ClearChanges
    };

    template <class T, class... Args>
    T* NewValue(Args&&... args) {
        std::pmr::polymorphic_allocator<T> allocator(&arena_);
        return allocator.template new_object<T>(std::forward<Args>(args)...);
    }
    friend struct LoadShape;

    // Where Store put a value: in the personal slot personal, or else in general entry entry,
    // which it added when added.
    struct Placement {
        int personal = -1;
        std::size_t entry = 0;
        bool added = false;
    };
    // copyName false: name lives in the arena already.
    Placement Store(std::u16string_view name, std::uint64_t hash, YIniFileData* value,
                    bool copyName);
    void StoreLoaded(std::u16string_view name, YIniFileData* value);
    // Keeps the general entries that the last reading's steps before position placed: the
    // rest came with its names but were not read from this file.
    void KeepLoadedEntries(std::size_t position);
    // The entry of name (general_.size() when none) and the index slot where the search ended:
    // the entry's slot, or the free slot a new entry of that name takes.
    std::size_t FindGeneral(std::u16string_view name, std::uint64_t hash,
                            std::size_t* slot = nullptr) const;
    // Doubles the index, or makes it size slots (a power of two) when size is not 0.
    void Grow(std::size_t size = 0);
    static void Destroy(YIniFileData* value);

    std::pmr::monotonic_buffer_resource arena_;
    std::vector<std::unique_ptr<char[]>> keptBlocks_;
    std::array<YIniFileData*, kPersonalValueCount> personal_{};
    std::array<bool, kPersonalValueCount> personalSlotChanged_{};
    std::vector<Entry> general_;
    // The general entry a look-up tries first: the one after the entry found last.
    mutable std::size_t nextGeneral_ = 0;
    // Open addressing over general_: each slot holds an entry index + 1, 0 when free.
    std::vector<std::uint32_t> slots_;
    // While a file is read: how many names it has stored so far.
    static constexpr std::size_t kNotLoading = ~std::size_t{0};
    std::size_t loadPosition_ = kNotLoading;
    // Whether this reading still follows the thread's last one, and that reading.
    bool followingLastLoad_ = false;
    LoadShape* memory_ = nullptr;
    // The name LoadName read last, as read, for the thread's memory of this reading.
    std::string_view loadedUtf8_;
    // The names shared with the reading this table followed; entries point into them.
    std::shared_ptr<const void> sharedNames_;
    std::uint64_t shape_ = 0;
};

}  // namespace rivode::storage

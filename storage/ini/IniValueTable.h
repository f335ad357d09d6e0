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

#include "storage/ini/SameBytes.h"
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

// The name in a value's header as the file holds it: the header runs from the kind, colon and
// opening quote to the closing quote and equals sign.
inline std::string_view NameInHeader(std::string_view header) {
    return header.substr(3, header.size() - 5);
}

// What a thread remembers of its last reading of a file into an empty table.
struct LoadShape;

// One value of that reading: its header, its name as decoded, and where the name went.
struct LoadStep {
    std::string_view header;   // as read (see IniValueTable::LoadName), in the reading's names
    std::u16string_view name;  // in the reading's names
    int personal;
    std::size_t entry;
    std::size_t entries;  // how many general entries the table held after this step
    bool added;
};

class IniValueTable {
public:
    // expectedBytes sizes the arena's first block (the size of the files about to be read).
    explicit IniValueTable(std::size_t expectedBytes = 0);
    ~IniValueTable();
    IniValueTable(const IniValueTable&) = delete;
    IniValueTable& operator=(const IniValueTable&) = delete;

    // The value of name (personal table first), or nullptr when absent or deleted.
    // Readers of one kind of key read its values in one order, mostly the order they are
    // stored in, so the entry that followed the one found last the last time is tried first,
    // which spares the hashing and both look-ups. That try is inlined: the call, saving the
    // registers the index search needs, cost as much as the try itself.
    // A general entry never holds a personal name, so a match there is the answer. Records name
    // their values by lasting copies, which never move or change: the same address and length
    // is the same name.
    YIniFileData* Find(std::u16string_view name) const {
        if (nextGeneral_ < general_.size()) {
            const Entry& next = general_[nextGeneral_];
            if (next.lastingName == name.data() ? next.name.size() == name.size()
                                                : SameName(next.name, name)) {
                if (next.lastingNameChecks < kLastingNameChecks) {
                    LearnLastingName(nextGeneral_, name);
                }
                lastFound_ = nextGeneral_;
                nextGeneral_ = next.successor;
                return next.value;
            }
        }
        return FindByHash(name);
    }

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
        valuesOwnMemory_ = true;
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
    // The name of a value a reader read, as UTF-16, for EmplaceArenaName right after. header is
    // the value's header as the file holds it (valid UTF-8), from its kind to the equals sign
    // after the name's closing quote. The name is the one the thread's last reading shared when
    // the headers so far and this one are the same as that reading's, else decoded into the
    // arena.
    std::u16string_view LoadName(std::string_view header);
    // While a reading follows the thread's last one, the header (as for LoadName) of the value
    // that reading read next; empty when this reading no longer follows it or has passed its
    // values. A reader that finds this header at the start of its next line knows the value's
    // kind and name without parsing them.
    std::string_view FollowedHeader() const {
        return loadPosition_ < followedCount_ ? followedSteps_[loadPosition_].header
                                              : std::string_view();
    }
    // Stores a value whose header was FollowedHeader(): it goes where that reading's went.
    template <class T, class... Args>
    void EmplaceFollowed(Args&&... args) {
        PlaceFollowed(NewValue<T>(std::forward<Args>(args)...));
    }
    // Stores values as EmplaceFollowed does, for as many lines in a row as read(header) turns
    // into a value (made by MakeValue): header is FollowedHeader() of each, and read gives
    // nullptr for a line that does not start with it or that it leaves to its caller. Most
    // lines of a file are read here: the loop keeps its place in the steps in registers, where
    // a call per line reloaded it from the table after every value stored.
    template <class Read>
    void FollowLines(Read&& read) {
        const LoadStep* const steps = followedSteps_;
        const std::size_t count = followedCount_;
        Entry* const entries = general_.data();
        std::size_t position = loadPosition_;
        bool placedGeneral = false;
        while (position < count) {
            const LoadStep& step = steps[position];
            YIniFileData* const value = read(step.header);
            if (value == nullptr) {
                break;
            }
            ++position;
            if (step.personal >= 0) {
                loadPosition_ = position - 1;
                PlaceFollowed(value);
                continue;
            }
            placedGeneral = true;
            if (YIniFileData* replaced = std::exchange(entries[step.entry].value, value)) {
                Destroy(replaced);
            }
        }
        loadPosition_ = position;
        generalChanged = generalChanged || placedGeneral;
    }
    // A value of kind T in the table's arena, for FollowLines to store.
    template <class T, class... Args>
    YIniFileData* MakeValue(Args&&... args) {
        return NewValue<T>(std::forward<Args>(args)...);
    }

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
    // Inlined: listings and saves go through every slot of thousands of keys.
    std::u16string_view GetSlotName(std::size_t slot) const {
        return IsPersonalSlot(slot) ? GetPersonalValueName(slot)
                                    : general_[slot - kPersonalValueCount].name;
    }
    const YIniFileData* GetSlotValue(std::size_t slot) const {
        return IsPersonalSlot(slot) ? personal_[slot] : general_[slot - kPersonalValueCount].value;
    }
    static bool IsPersonalSlot(std::size_t slot) { return slot < kPersonalValueCount; }
    // Tells the table that the next look-up is likely the name of slot: a listing hands out
    // names in its own order, and its caller usually reads each value as it is listed.
    void ExpectLookup(std::size_t slot) const {
        if (!IsPersonalSlot(slot)) {
            nextGeneral_ = slot - kPersonalValueCount;
        }
        // The listing's order teaches nothing of the order its readers read in.
        lastFound_ = kNoEntry;
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
        // The process's lasting copy of name (see IsLastingNameText) once a look-up by it was
        // seen, else nullptr: a look-up that passes that very copy is known without comparing.
        const char16_t* lastingName = nullptr;
        bool changed = false;  // stored or erased since the last ClearChanges
        // How often the thread's memory of a reading checked the names looked up for this
        // entry; at most once lastingName is known.
        std::uint8_t lastingNameChecks = 0;
        // The entry to try first after this one is found: the next one, or the one that the
        // readers of tables following the same reading looked up next (see LearnSuccessor).
        std::uint32_t successor = 0;
    };

    template <class T, class... Args>
    T* NewValue(Args&&... args) {
        return new (Allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    }
    // Room for size bytes (not 0) in the arena. Taken from the block at hand without a call: a
    // reading makes a value object for nearly every line.
    void* Allocate(std::size_t size, std::size_t alignment) {
        const std::uintptr_t at = (reinterpret_cast<std::uintptr_t>(free_) + alignment - 1) &
                                  ~std::uintptr_t{alignment - 1};
        if (at + size > reinterpret_cast<std::uintptr_t>(end_)) {
            return AllocateInNewBlock(size, alignment);
        }
        free_ = reinterpret_cast<char*>(at + size);
        return free_ - size;
    }
    void* AllocateInNewBlock(std::size_t size, std::size_t alignment);
    friend struct LoadShape;

    // Hosts that name values by texts of their own have the names they look up checked this
    // often per entry of a reading the thread remembers, not on every look-up.
    static constexpr std::uint8_t kLastingNameChecks = 2;
    // Find past the entry it tries first.
    YIniFileData* FindByHash(std::u16string_view name) const;

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
    // The same names so far leave the table as they left the last one: the value goes where
    // the name went then. A name read a second time replaces the value the first reading of it
    // gave.
    void PlaceFollowed(YIniFileData* value) {
        const LoadStep& step = followedSteps_[loadPosition_++];
        YIniFileData* replaced = nullptr;
        if (step.personal >= 0) {
            const auto personal = static_cast<std::size_t>(step.personal);
            replaced = std::exchange(personal_[personal], value);
            personalSlotChanged_[personal] = true;
            personalChanged = true;
        } else {
            replaced = std::exchange(general_[step.entry].value, value);
            generalChanged = true;
        }
        if (replaced != nullptr) {
            Destroy(replaced);
        }
    }
    // Keeps the general entries that the last reading's steps before position placed: the
    // rest came with its names but were not read from this file.
    void KeepLoadedEntries(std::size_t position);
    // The entry of name (general_.size() when none) and the index slot where the search ended:
    // the entry's slot, or the free slot a new entry of that name takes.
    std::size_t FindGeneral(std::u16string_view name, std::uint64_t hash,
                            std::size_t* slot = nullptr) const;
    // Teaches the thread's memory of this table's reading that name, which the table's entry
    // holds, is a lasting copy: the tables that follow that reading start knowing it.
    void LearnLastingName(std::size_t entry, std::u16string_view name) const;
    // Teaches that memory that entry was looked up right after lastFound_, so that the tables
    // that follow that reading try it first then.
    void LearnSuccessor(std::size_t entry) const;
    // The thread's memory of entry while it remembers this table's reading (its entries are
    // then this table's, name for name), else nullptr. Another thread's memory may be gone with
    // its thread.
    Entry* RememberedEntry(std::size_t entry) const;
    // Doubles the index, or makes it size slots (a power of two) when size is not 0.
    void Grow(std::size_t size = 0);
    static void Destroy(YIniFileData* value);

    // The blocks of the arena come from arena_; free_ to end_ is what is left of the last one.
    std::pmr::monotonic_buffer_resource arena_;
    char* free_ = nullptr;
    char* end_ = nullptr;
    std::size_t nextBlockSize_;
    std::vector<std::unique_ptr<char[]>> keptBlocks_;
    std::array<YIniFileData*, kPersonalValueCount> personal_{};
    std::array<bool, kPersonalValueCount> personalSlotChanged_{};
    std::vector<Entry> general_;
    // The general entry a look-up tries first (the successor of the entry found last), and
    // that entry.
    static constexpr std::size_t kNoEntry = ~std::size_t{0};
    mutable std::size_t nextGeneral_ = 0;
    mutable std::size_t lastFound_ = kNoEntry;
    // Open addressing over general_: each slot holds an entry index + 1, 0 when free.
    std::vector<std::uint32_t> slots_;
    // While a file is read: how many names it has stored so far.
    static constexpr std::size_t kNotLoading = ~std::size_t{0};
    std::size_t loadPosition_ = kNotLoading;
    // Whether this reading still follows the thread's last one, and that reading.
    bool followingLastLoad_ = false;
    LoadShape* memory_ = nullptr;
    // The steps of that reading while this one still follows it, and how many there are.
    const LoadStep* followedSteps_ = nullptr;
    std::size_t followedCount_ = 0;
    // The header LoadName read last, as read, for the thread's memory of this reading.
    std::string_view loadedHeader_;
    // The names shared with the reading this table followed; entries point into them.
    std::shared_ptr<const void> sharedNames_;
    std::uint64_t shape_ = 0;
    // Whether a value was set since the table was made: values a reading makes own nothing (their
    // texts and bytes are the table's), so only set ones need their destructors run.
    bool valuesOwnMemory_ = false;
};

}  // namespace rivode::storage

#include "storage/ini/IniValueTable.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace rivode::storage {
namespace {

constexpr std::u16string_view kPersonalValueNames[kPersonalValueCount] = {
    u"Username",
    u"Password",
    u"Password V2",
    u"Login Script V2",
    u"Login Script V3",
    u"Session Password Saved",
    u"Local Shell Command Pre-connect",
    u"Local Shell Command Pre-connect V2",
    u"Account",
    u"Account V2",
    u"Monitor Username",
    u"Monitor Password",
    u"Monitor Password V2",
    u"Normal Font v2",
    u"Narrow Font v2",
    u"Use Narrow Font",
    u"SCP Shell Password",
    u"SCP Shell Password V2",
    u"PGP Upload Command",
    u"PGP Upload Command V2",
    u"PGP Download Command",
    u"PGP Download Command V2",
    u"Use Login Script",
    u"Send Initial Carriage Return",
    u"Credential Title",
};

// Personal names are looked up for every value read or written: a bitmap of their hashes' low
// bytes turns nine other names in ten away before any comparison.
struct PersonalIndex {
    std::array<std::uint64_t, kPersonalValueCount> hash;
    std::array<std::uint64_t, 4> lowBytes{};
    PersonalIndex() {
        for (std::size_t i = 0; i < kPersonalValueCount; ++i) {
            hash[i] = HashValueName(kPersonalValueNames[i]);
            lowBytes[(hash[i] >> 6) & 3] |= std::uint64_t{1} << (hash[i] & 63);
        }
    }
    bool MayHold(std::uint64_t nameHash) const {
        return (lowBytes[(nameHash >> 6) & 3] >> (nameHash & 63)) & 1;
    }
};

const PersonalIndex& GetPersonalIndex() {
    static const PersonalIndex index;
    return index;
}

constexpr std::size_t kInitialSlots = 64;
// A stored value takes about forty bytes of a file, and the arena holds those bytes, the name in
// UTF-16 and the value object.
constexpr std::size_t kBytesPerValue = 40;
constexpr std::size_t kMinimumArena = 1024;

// Names are compared as bytes: the character-by-character comparison of u16string_view is
// several times slower, and the index compares a name on every look-up.
bool SameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

template <class Word>
std::uint64_t LoadWord(const char* bytes) {
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

}  // namespace

std::uint64_t HashValueName(std::u16string_view name) {
    constexpr std::uint64_t kMultiplier = 0x9e3779b97f4a7c15ULL;
    const auto mix = [](std::uint64_t hash, std::uint64_t word) {
        return std::rotl((hash ^ word) * kMultiplier, 29);
    };
    const char* bytes = reinterpret_cast<const char*>(name.data());
    const std::size_t length = name.size() * sizeof(char16_t);
    std::uint64_t hash = length * kMultiplier;
    // The last word is loaded whole, overlapping the one before it when the length is not a
    // multiple of eight: assembling it byte by byte would stall on the loads.
    if (length >= 8) {
        std::size_t i = 0;
        for (; i + 8 < length; i += 8) {
            hash = mix(hash, LoadWord<std::uint64_t>(bytes + i));
        }
        hash = mix(hash, LoadWord<std::uint64_t>(bytes + length - 8));
    } else if (length >= 4) {
        hash = mix(hash, LoadWord<std::uint32_t>(bytes) |
                             (LoadWord<std::uint32_t>(bytes + length - 4) << 32));
    } else if (length == 2) {
        hash = mix(hash, LoadWord<std::uint16_t>(bytes));
    }
    // The table's index and the personal bitmap use the low bits: fold the high ones in.
    hash ^= hash >> 32;
    hash *= kMultiplier;
    return hash ^ (hash >> 29);
}

std::u16string_view GetPersonalValueName(std::size_t index) {
    return kPersonalValueNames[index];
}

int FindPersonalValue(std::u16string_view name, std::uint64_t hash) {
    const PersonalIndex& index = GetPersonalIndex();
    if (!index.MayHold(hash)) {
        return -1;
    }
    for (std::size_t i = 0; i < kPersonalValueCount; ++i) {
        if (index.hash[i] == hash && SameName(kPersonalValueNames[i], name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

IniValueTable::IniValueTable(std::size_t expectedBytes)
    : arena_(std::max(kMinimumArena, expectedBytes * 3)) {
    general_.reserve(expectedBytes / kBytesPerValue);
}

IniValueTable::~IniValueTable() {
    for (YIniFileData* value : personal_) {
        Destroy(value);
    }
    for (const Entry& entry : general_) {
        Destroy(entry.value);
    }
}

// The arena frees the memory all at once; only what the values own themselves needs freeing.
void IniValueTable::Destroy(YIniFileData* value) {
    if (value != nullptr) {
        value->~YIniFileData();
    }
}

std::u16string_view IniValueTable::CopyText(std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    std::pmr::polymorphic_allocator<char16_t> allocator(&arena_);
    char16_t* copy = allocator.allocate(text.size());
    std::copy(text.begin(), text.end(), copy);
    return {copy, text.size()};
}

std::string_view IniValueTable::CopyBytes(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    std::pmr::polymorphic_allocator<char> allocator(&arena_);
    char* copy = allocator.allocate(bytes.size());
    std::memcpy(copy, bytes.data(), bytes.size());
    return {copy, bytes.size()};
}

std::uint8_t* IniValueTable::AllocateBytes(std::size_t size) {
    return static_cast<std::uint8_t*>(arena_.allocate(std::max<std::size_t>(size, 1), 1));
}

std::u16string_view IniValueTable::GetSlotName(std::size_t slot) const {
    return IsPersonalSlot(slot) ? GetPersonalValueName(slot)
                                : general_[slot - kPersonalValueCount].name;
}

const YIniFileData* IniValueTable::GetSlotValue(std::size_t slot) const {
    return IsPersonalSlot(slot) ? personal_[slot] : general_[slot - kPersonalValueCount].value;
}

std::size_t IniValueTable::FindGeneral(std::u16string_view name, std::uint64_t hash,
                                       std::size_t* slotFound) const {
    if (slots_.empty()) {
        return general_.size();
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t index = slots_[slot];
        if (slotFound != nullptr) {
            *slotFound = slot;
        }
        if (index == 0) {
            return general_.size();
        }
        const Entry& entry = general_[index - 1];
        if (entry.hash == hash && SameName(entry.name, name)) {
            return index - 1;
        }
    }
}

YIniFileData* IniValueTable::Find(std::u16string_view name) const {
    // Records read their values in the order they are stored: the entry after the one found
    // last is tried first, which spares the hashing and both look-ups. A general entry never
    // holds a personal name, so a match there is the answer.
    if (nextGeneral_ < general_.size() && SameName(general_[nextGeneral_].name, name)) {
        return general_[nextGeneral_++].value;
    }
    const std::uint64_t hash = HashValueName(name);
    const int personal = FindPersonalValue(name, hash);
    if (personal >= 0) {
        return personal_[static_cast<std::size_t>(personal)];
    }
    const std::size_t index = FindGeneral(name, hash);
    if (index == general_.size()) {
        return nullptr;
    }
    nextGeneral_ = index + 1;
    return general_[index].value;
}

void IniValueTable::Store(std::u16string_view name, std::uint64_t hash, YIniFileData* value) {
    const int personal = FindPersonalValue(name, hash);
    if (personal >= 0) {
        Destroy(std::exchange(personal_[static_cast<std::size_t>(personal)], value));
        personalSlotChanged_[static_cast<std::size_t>(personal)] = true;
        personalChanged = true;
        return;
    }
    generalChanged = true;
    std::size_t slot = 0;
    const std::size_t index = FindGeneral(name, hash, &slot);
    if (index < general_.size()) {
        Destroy(std::exchange(general_[index].value, value));
        general_[index].changed = true;
        return;
    }
    if (value == nullptr) {
        return;  // nothing to forget
    }
    if ((general_.size() + 1) * 2 > slots_.size()) {
        Grow();
        FindGeneral(name, hash, &slot);  // the free slot moved with the index
    }
    // Filled in place: building the entry aside and copying it stalls on the copy's loads.
    Entry& entry = general_.emplace_back();
    entry.hash = hash;
    entry.name = CopyText(name);
    entry.value = value;
    entry.changed = true;
    slots_[slot] = static_cast<std::uint32_t>(general_.size());
}

void IniValueTable::Grow() {
    std::size_t size = slots_.empty() ? kInitialSlots : slots_.size() * 2;
    // The first index covers what the loader expects to read, so loading never rehashes.
    while (size < general_.capacity() * 2) {
        size *= 2;
    }
    slots_.assign(size, 0);
    const std::size_t mask = size - 1;
    for (std::size_t i = 0; i < general_.size(); ++i) {
        std::size_t slot = general_[i].hash & mask;
        while (slots_[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        slots_[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

void IniValueTable::ClearChanges() {
    personalChanged = false;
    generalChanged = false;
    personalSlotChanged_.fill(false);
    for (Entry& entry : general_) {
        entry.changed = false;
    }
}

std::size_t IniValueTable::CountPersonalValues() const {
    std::size_t count = 0;
    for (const YIniFileData* value : personal_) {
        count += value != nullptr ? 1 : 0;
    }
    return count;
}

}  // namespace rivode::storage

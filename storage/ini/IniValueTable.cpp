#include "storage/ini/IniValueTable.h"

#include "platform/Utf8Codec.h"
#include "storage/ini/SameBytes.h"
#include "storage/values/LastingNameText.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <memory>

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

// Personal names are looked up for every value read or written: a table indexed by the low byte
// of their hashes names the one personal name each byte may stand for, so that a look-up
// compares one name at most (both are searched for the rare byte that two of them share).
struct PersonalIndex {
    static constexpr std::int8_t kNone = -1;
    static constexpr std::int8_t kShared = -2;
    std::array<std::uint64_t, kPersonalValueCount> hash;
    std::array<std::int8_t, 256> byLowByte;
    PersonalIndex() {
        byLowByte.fill(kNone);
        for (std::size_t i = 0; i < kPersonalValueCount; ++i) {
            hash[i] = HashValueName(kPersonalValueNames[i]);
            std::int8_t& entry = byLowByte[hash[i] & 0xFF];
            entry = entry == kNone ? static_cast<std::int8_t>(i) : kShared;
        }
    }
};

const PersonalIndex& GetPersonalIndex() {
    static const PersonalIndex index;
    return index;
}

constexpr std::size_t kInitialSlots = 64;
// A stored value takes thirty to forty bytes of a file: entries are reserved as if every value
// took fewer, so that reading a file never moves them.
constexpr std::size_t kFewestBytesPerValue = 24;
constexpr std::size_t kMinimumArena = 1024;
// The value objects of a file take about twice its size (the file's bytes are kept apart).
constexpr std::size_t kArenaBytesPerFileByte = 2;

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
    const int candidate = index.byLowByte[hash & 0xFF];
    if (candidate >= 0) {
        const auto i = static_cast<std::size_t>(candidate);
        return index.hash[i] == hash && SameName(kPersonalValueNames[i], name) ? candidate : -1;
    }
    if (candidate == PersonalIndex::kNone) {
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
    : arena_(std::max(kMinimumArena, expectedBytes * kArenaBytesPerFileByte)),
      nextBlockSize_(std::max(kMinimumArena, expectedBytes * kArenaBytesPerFileByte)) {
    general_.reserve(expectedBytes / kFewestBytesPerValue);
}

IniValueTable::~IniValueTable() {
    if (!valuesOwnMemory_) {
        return;
    }
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
    auto* copy =
        static_cast<char16_t*>(Allocate(text.size() * sizeof(char16_t), alignof(char16_t)));
    std::copy(text.begin(), text.end(), copy);
    return {copy, text.size()};
}

std::string_view IniValueTable::CopyBytes(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    auto* copy = static_cast<char*>(Allocate(bytes.size(), 1));
    std::memcpy(copy, bytes.data(), bytes.size());
    return {copy, bytes.size()};
}

std::string_view IniValueTable::KeepBytes(std::unique_ptr<char[]> block, std::size_t size) {
    const std::string_view bytes(block.get(), size);
    keptBlocks_.push_back(std::move(block));
    return bytes;
}

std::uint8_t* IniValueTable::AllocateBytes(std::size_t size) {
    return static_cast<std::uint8_t*>(Allocate(std::max<std::size_t>(size, 1), 1));
}

void* IniValueTable::AllocateInNewBlock(std::size_t size, std::size_t alignment) {
    // The blocks grow as the arena's own would; what is left of the last one is not used.
    const std::size_t block = std::max(nextBlockSize_, size + alignment);
    free_ = static_cast<char*>(arena_.allocate(block, alignof(std::max_align_t)));
    end_ = free_ + block;
    nextBlockSize_ = block + block / 2;
    return Allocate(size, alignment);
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

YIniFileData* IniValueTable::FindByHash(std::u16string_view name) const {
    // Names are far more often general than personal: the general index is searched first.
    const std::uint64_t hash = HashValueName(name);
    const std::size_t index = FindGeneral(name, hash);
    if (index < general_.size()) {
        const Entry& found = general_[index];
        if (found.lastingNameChecks < kLastingNameChecks) {
            LearnLastingName(index, name);
        }
        // A value looked up twice in a row (its size, then its bytes) is no step of the order.
        if (index != lastFound_) {
            LearnSuccessor(index);
            lastFound_ = index;
            nextGeneral_ = found.successor;
        }
        return found.value;
    }
    const int personal = FindPersonalValue(name, hash);
    return personal >= 0 ? personal_[static_cast<std::size_t>(personal)] : nullptr;
}

IniValueTable::Placement IniValueTable::Store(std::u16string_view name, std::uint64_t hash,
                                              YIniFileData* value, bool copyName) {
    Placement placed;
    placed.personal = FindPersonalValue(name, hash);
    if (placed.personal >= 0) {
        Destroy(std::exchange(personal_[static_cast<std::size_t>(placed.personal)], value));
        personalSlotChanged_[static_cast<std::size_t>(placed.personal)] = true;
        personalChanged = true;
        return placed;
    }
    generalChanged = true;
    std::size_t slot = 0;
    placed.entry = FindGeneral(name, hash, &slot);
    if (placed.entry < general_.size()) {
        Destroy(std::exchange(general_[placed.entry].value, value));
        general_[placed.entry].changed = true;
        return placed;
    }
    if (value == nullptr) {
        return placed;  // nothing to forget
    }
    if ((general_.size() + 1) * 2 > slots_.size()) {
        Grow();
        FindGeneral(name, hash, &slot);  // the free slot moved with the index
    }
    // Filled in place: building the entry aside and copying it stalls on the copy's loads.
    Entry& entry = general_.emplace_back();
    entry.successor = static_cast<std::uint32_t>(general_.size());
    entry.hash = hash;
    entry.name = copyName ? CopyText(name) : name;
    entry.value = value;
    entry.changed = true;
    slots_[slot] = static_cast<std::uint32_t>(general_.size());
    placed.added = true;
    return placed;
}

// The names of the thread's last reading of a file into an empty table, as read (UTF-8) and
// decoded, with where each went. Tables that follow the reading share its decoded names instead
// of decoding their own: the arena lives as long as the last table that uses it, and it only
// grows, so a name never moves.
struct SharedNames {
    std::pmr::monotonic_buffer_resource arena{8192};
};

struct LoadShape {
    std::shared_ptr<SharedNames> names = std::make_shared<SharedNames>();
    std::vector<LoadStep> steps;
    // The general entries (names in names, no values) and the index the reading left: a table
    // that follows the reading starts from a copy of both instead of placing names one by one.
    std::vector<IniValueTable::Entry> entries;
    std::vector<std::uint32_t> slots;
    // Names the sequence of steps, for GetShape: a new number whenever the steps change.
    std::uint64_t shape = 0;
    bool changed = false;

    // Keeps the first count steps. Their names move to a new arena, so that the names dropped,
    // which tables may still use, are freed with those tables rather than kept for the thread's
    // lifetime.
    void Truncate(std::size_t count) {
        if (count >= steps.size()) {
            return;
        }
        steps.resize(count);
        changed = true;
        std::shared_ptr<SharedNames> kept = std::make_shared<SharedNames>();
        for (LoadStep& step : steps) {
            step.header = Copy(*kept, step.header);
            step.name = Copy(*kept, step.name);
        }
        names = std::move(kept);
    }

    template <class Char>
    static std::basic_string_view<Char> Copy(SharedNames& to, std::basic_string_view<Char> text) {
        auto* copy =
            static_cast<Char*>(to.arena.allocate(text.size() * sizeof(Char), alignof(Char)));
        std::memcpy(copy, text.data(), text.size() * sizeof(Char));
        return {copy, text.size()};
    }
};

namespace {

thread_local LoadShape threadLastLoad;
// Shapes are numbered across threads, so that a number names one sequence of names only.
std::atomic<std::uint64_t> lastShapeNumber{0};

}  // namespace

void IniValueTable::BeginLoad() {
    // Reached through a pointer while loading: every access to a thread_local with a
    // constructor goes through a call.
    memory_ = &threadLastLoad;
    LoadShape& lastLoad = *memory_;
    followingLastLoad_ = general_.empty() && CountPersonalValues() == 0;
    loadPosition_ = 0;
    shape_ = 0;
    lastLoad.changed = false;
    if (!followingLastLoad_) {
        return;
    }
    sharedNames_ = lastLoad.names;
    if (lastLoad.steps.empty()) {
        if (slots_.empty()) {
            Grow();
        }
        return;
    }
    // The table takes every name of the last reading and its index at once; the file's values
    // then go to their entries, and a file whose names part from that reading's keeps only the
    // names it shared with it (KeepLoadedEntries).
    general_.assign(lastLoad.entries.begin(), lastLoad.entries.end());
    slots_.assign(lastLoad.slots.begin(), lastLoad.slots.end());
    followedSteps_ = lastLoad.steps.data();
    followedCount_ = lastLoad.steps.size();
}

void IniValueTable::KeepLoadedEntries(std::size_t position) {
    const LoadShape& lastLoad = *memory_;
    const std::size_t count = position == 0 ? 0 : lastLoad.steps[position - 1].entries;
    if (count == general_.size()) {
        return;
    }
    // The entries after count hold no value: no step of this reading reached them.
    general_.resize(count);
    Grow(slots_.size());
}

std::u16string_view IniValueTable::LoadName(std::string_view header) {
    const LoadShape& lastLoad = *memory_;
    loadedHeader_ = header;
    if (followingLastLoad_ && loadPosition_ < lastLoad.steps.size()) {
        const LoadStep& step = lastLoad.steps[loadPosition_];
        if (SameName(step.header, header)) {
            return step.name;
        }
    }
    const std::string_view utf8 = NameInHeader(header);
    auto* out = static_cast<char16_t*>(
        Allocate(std::max<std::size_t>(utf8.size(), 1) * sizeof(char16_t), alignof(char16_t)));
    std::size_t written = 0;
    (void)platform::DecodeUtf8(utf8, out, written, platform::IllFormed::Stop);
    return {out, written};
}

void IniValueTable::StoreLoaded(std::u16string_view name, YIniFileData* value) {
    LoadShape& lastLoad = *memory_;
    const std::size_t position = loadPosition_;
    if (!followingLastLoad_) {
        ++loadPosition_;
        (void)Store(name, HashValueName(name), value, false);
        return;
    }
    if (position < lastLoad.steps.size()) {
        // LoadName hands out the step's own name when the headers agree, so the same address
        // is the proof that they do.
        if (lastLoad.steps[position].name.data() == name.data()) {
            PlaceFollowed(value);
            return;
        }
        // This reading parts from the last one here, and its steps change from here on.
        followedCount_ = 0;
        KeepLoadedEntries(position);
        lastLoad.Truncate(position);
    }
    ++loadPosition_;
    // From here on this reading is the one the thread remembers.
    const Placement placed = Store(name, HashValueName(name), value, false);
    LoadStep& step = lastLoad.steps.emplace_back();
    step.header = LoadShape::Copy(*lastLoad.names, loadedHeader_);
    step.name = LoadShape::Copy(*lastLoad.names, name);
    step.personal = placed.personal;
    step.entry = placed.entry;
    step.entries = general_.size();
    step.added = placed.added;
    lastLoad.changed = true;
}

void IniValueTable::EndLoad() {
    LoadShape& lastLoad = *memory_;
    if (followingLastLoad_ && loadPosition_ < lastLoad.steps.size()) {
        // A file that ended before the last reading's names did.
        KeepLoadedEntries(loadPosition_);
    }
    // A reading that went through every step the thread remembers, adding or changing none,
    // holds that sequence's names; one that changed the steps holds the new sequence, which
    // the thread keeps for the tables that follow it.
    if (followingLastLoad_ && loadPosition_ == lastLoad.steps.size()) {
        if (lastLoad.changed || lastLoad.shape == 0) {
            lastLoad.shape = ++lastShapeNumber;
        }
        if (lastLoad.changed) {
            lastLoad.entries = general_;
            for (const LoadStep& step : lastLoad.steps) {
                if (step.added) {
                    lastLoad.entries[step.entry].name = step.name;
                }
            }
            for (Entry& entry : lastLoad.entries) {
                entry.value = nullptr;
                entry.changed = true;
            }
            lastLoad.slots = slots_;
        }
        shape_ = lastLoad.shape;
    }
    loadPosition_ = kNotLoading;
    followedCount_ = 0;
}

IniValueTable::Entry* IniValueTable::RememberedEntry(std::size_t entry) const {
    if (shape_ == 0 || memory_ != &threadLastLoad || memory_->shape != shape_ ||
        entry >= memory_->entries.size()) {
        return nullptr;
    }
    return &memory_->entries[entry];
}

void IniValueTable::LearnLastingName(std::size_t entry, std::u16string_view name) const {
    Entry* remembered = RememberedEntry(entry);
    if (remembered == nullptr || remembered->lastingNameChecks >= kLastingNameChecks) {
        return;
    }
    ++remembered->lastingNameChecks;
    if (IsLastingNameText(name)) {
        // Known now: no further checks.
        remembered->lastingName = name.data();
        remembered->lastingNameChecks = kLastingNameChecks;
    }
}

void IniValueTable::LearnSuccessor(std::size_t entry) const {
    if (lastFound_ == kNoEntry) {
        return;
    }
    if (Entry* remembered = RememberedEntry(lastFound_)) {
        remembered->successor = static_cast<std::uint32_t>(entry);
    }
}

void IniValueTable::Grow(std::size_t size) {
    if (size == 0) {
        size = slots_.empty() ? kInitialSlots : slots_.size() * 2;
        // The first index covers what the loader expects to read, so loading never rehashes.
        while (size < general_.capacity() * 2) {
            size *= 2;
        }
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

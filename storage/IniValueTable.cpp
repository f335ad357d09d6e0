#include "storage/IniValueTable.h"

namespace rivode::storage {
namespace {

constexpr std::uint64_t kFnvOffsetBasis = 0xcbf29ce484222325ull;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ull;

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

struct PersonalHashes {
    std::array<std::uint64_t, kPersonalValueCount> hash;
    PersonalHashes() {
        for (std::size_t i = 0; i < kPersonalValueCount; ++i) {
            hash[i] = HashValueName(kPersonalValueNames[i]);
        }
    }
};

const PersonalHashes& GetPersonalHashes() {
    static const PersonalHashes hashes;
    return hashes;
}

constexpr std::size_t kInitialSlots = 64;

}  // namespace

std::uint64_t HashValueName(std::u16string_view name) {
    std::uint64_t hash = kFnvOffsetBasis;
    for (const char16_t unit : name) {
        // The bytes of each code unit, low byte first.
        hash = (hash ^ (static_cast<std::uint64_t>(unit) & 0xffu)) * kFnvPrime;
        hash = (hash ^ (static_cast<std::uint64_t>(unit) >> 8)) * kFnvPrime;
    }
    return hash;
}

std::u16string_view GetPersonalValueName(std::size_t index) { return kPersonalValueNames[index]; }

int FindPersonalValue(std::u16string_view name, std::uint64_t hash) {
    const PersonalHashes& hashes = GetPersonalHashes();
    for (std::size_t i = 0; i < kPersonalValueCount; ++i) {
        if (hashes.hash[i] == hash && kPersonalValueNames[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

IniValueTable::IniValueTable() = default;

std::size_t IniValueTable::FindGeneral(std::u16string_view name, std::uint64_t hash) const {
    if (slots_.empty()) {
        return general_.size();
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t index = slots_[slot];
        if (index == 0) {
            return general_.size();
        }
        const Entry& entry = general_[index - 1];
        if (entry.hash == hash && entry.name == name) {
            return index - 1;
        }
    }
}

YIniFileData* IniValueTable::Find(std::u16string_view name) const {
    const std::uint64_t hash = HashValueName(name);
    const int personal = FindPersonalValue(name, hash);
    if (personal >= 0) {
        return personal_[static_cast<std::size_t>(personal)].get();
    }
    const std::size_t index = FindGeneral(name, hash);
    return index < general_.size() ? general_[index].value.get() : nullptr;
}

void IniValueTable::Store(std::u16string_view name, std::unique_ptr<YIniFileData> value) {
    const std::uint64_t hash = HashValueName(name);
    const int personal = FindPersonalValue(name, hash);
    if (personal >= 0) {
        personal_[static_cast<std::size_t>(personal)] = std::move(value);
        personalChanged = true;
        return;
    }
    generalChanged = true;
    const std::size_t index = FindGeneral(name, hash);
    if (index < general_.size()) {
        general_[index].value = std::move(value);
        return;
    }
    if (!value) {
        return;  // nothing to forget
    }
    if ((general_.size() + 1) * 2 > slots_.size()) {
        Grow();
    }
    general_.push_back(Entry{hash, YUnicodeString(name), std::move(value)});
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    while (slots_[slot] != 0) {
        slot = (slot + 1) & mask;
    }
    slots_[slot] = static_cast<std::uint32_t>(general_.size());
}

void IniValueTable::Grow() {
    const std::size_t size = slots_.empty() ? kInitialSlots : slots_.size() * 2;
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

std::size_t IniValueTable::CountPersonalValues() const {
    std::size_t count = 0;
    for (const auto& value : personal_) {
        count += value ? 1 : 0;
    }
    return count;
}

}  // namespace rivode::storage

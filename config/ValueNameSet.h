// A fixed set of value names that answers, for every value of every session opened, whether a
// record knows the name: opening a large tree asks it hundreds of times a session, so the names
// are views (of lasting names, see GetLastingName) in one flat open-addressing index, compared as
// bytes, instead of nodes of a hash set compared character by character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace rivode::config {

class ValueNameSet {
public:
    // name must outlive the set.
    void Insert(std::u16string_view name) {
        if (Contains(name)) {
            return;
        }
        if ((names_.size() + 1) * 2 > slots_.size()) {
            Rehash(slots_.empty() ? 64 : slots_.size() * 2);
        }
        names_.push_back(name);
        Place(names_.size() - 1);
    }

    bool Contains(std::u16string_view name) const {
        if (slots_.empty()) {
            return false;
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = Hash(name) & mask;; slot = (slot + 1) & mask) {
            const std::uint32_t index = slots_[slot];
            if (index == 0) {
                return false;
            }
            const std::u16string_view held = names_[index - 1];
            if (held.size() == name.size() &&
                std::memcmp(held.data(), name.data(), name.size() * sizeof(char16_t)) == 0) {
                return true;
            }
        }
    }

private:
    // The length and the first and last four characters: enough to tell a record's names apart
    // ("Option 12" from "Option 13"), and a few times cheaper than hashing every character.
    // Names that share all three are told apart by the comparison.
    static std::size_t Hash(std::u16string_view name) {
        constexpr std::uint64_t kMultiplier = 0x9e3779b97f4a7c15ULL;
        std::uint64_t first = 0;
        std::uint64_t last = 0;
        const std::size_t bytes = name.size() * sizeof(char16_t);
        if (bytes >= sizeof first) {
            std::memcpy(&first, name.data(), sizeof first);
            std::memcpy(&last, reinterpret_cast<const char*>(name.data()) + bytes - sizeof last,
                        sizeof last);
        } else {
            std::memcpy(&first, name.data(), bytes);
        }
        std::uint64_t hash = (bytes * kMultiplier) ^ first;
        hash = (hash * kMultiplier) ^ last;
        hash *= kMultiplier;
        return static_cast<std::size_t>(hash ^ (hash >> 32));
    }
    void Place(std::size_t index) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t slot = Hash(names_[index]) & mask;
        while (slots_[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        slots_[slot] = static_cast<std::uint32_t>(index + 1);
    }
    void Rehash(std::size_t size) {
        slots_.assign(size, 0);
        for (std::size_t i = 0; i < names_.size(); ++i) {
            Place(i);
        }
    }

    std::vector<std::u16string_view> names_;
    std::vector<std::uint32_t> slots_;  // an index into names_ + 1; 0 when free
};

}  // namespace rivode::config

#include <RivodeRavudaVU/YMessageTable.h>

#include <algorithm>

namespace {

bool IdLess(const YMessageTableEntry& a, const YMessageTableEntry& b) {
    return a.id < b.id;
}

void InsertOrReplace(std::vector<YMessageTableEntry>& entries, const YMessageTableEntry& entry) {
    const auto at = std::lower_bound(entries.begin(), entries.end(), entry, IdLess);
    if (at != entries.end() && at->id == entry.id) {
        at->text = entry.text;
    } else {
        entries.insert(at, entry);
    }
}

}  // namespace

YMessageTable::Language& YMessageTable::LanguageFor(std::uint16_t language) {
    for (Language& candidate : languages_) {
        if (candidate.language == language) {
            return candidate;
        }
    }
    return languages_.emplace_back(Language{language, {}});
}

const YMessageTable::Language* YMessageTable::FindLanguage(std::uint16_t language) const {
    for (const Language& candidate : languages_) {
        if (candidate.language == language) {
            return &candidate;
        }
    }
    return nullptr;
}

void YMessageTable::AddTexts(std::uint16_t language, std::span<const YMessageTableEntry> entries) {
    std::vector<YMessageTableEntry>& target = LanguageFor(language).entries;
    if (target.empty() && std::is_sorted(entries.begin(), entries.end(), IdLess) &&
        std::adjacent_find(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
            return a.id == b.id;
        }) == entries.end()) {
        target.assign(entries.begin(), entries.end());  // compiled tables come sorted
        return;
    }
    for (const YMessageTableEntry& entry : entries) {
        InsertOrReplace(target, entry);
    }
}

void YMessageTable::AddText(std::uint16_t language, std::uint32_t id, std::u16string_view text) {
    const std::u16string& owned = ownedTexts_.emplace_back(text);
    InsertOrReplace(LanguageFor(language).entries, YMessageTableEntry{id, owned});
}

bool YMessageTable::FindText(std::uint32_t id, std::uint16_t language,
                             std::u16string_view& text) const {
    for (const std::uint16_t candidate : {language, kMessageLanguageEnglish}) {
        const Language* found = FindLanguage(candidate);
        if (found == nullptr) {
            continue;
        }
        const YMessageTableEntry key{id, {}};
        const auto at = std::lower_bound(found->entries.begin(), found->entries.end(), key, IdLess);
        if (at != found->entries.end() && at->id == id) {
            text = at->text;
            return true;
        }
    }
    return false;
}

bool YMessageTable::FindText(std::uint32_t id, std::u16string_view& text) const {
    return FindText(id, rivode::GetMessageLanguage(), text);
}

std::vector<std::uint16_t> YMessageTable::GetLanguages() const {
    std::vector<std::uint16_t> result;
    for (const Language& language : languages_) {
        result.push_back(language.language);
    }
    return result;
}

std::vector<std::uint32_t> YMessageTable::GetIds(std::uint16_t language) const {
    std::vector<std::uint32_t> result;
    if (const Language* found = FindLanguage(language)) {
        for (const YMessageTableEntry& entry : found->entries) {
            result.push_back(entry.id);
        }
    }
    return result;
}

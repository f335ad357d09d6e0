// Message tables: the raw texts of messages by id, one set per language.
//
// The library's own table (facility 0x138) is compiled in from its message sources. A host
// supplies the texts of its own facilities (0x104 and 0x137) in a table of its own, registered
// once at start-up; a report whose id is not in its source is looked up there next. Hosts build
// such a table with the CMake function rivode_add_message_table, or fill one by hand.
//
// Raw texts use the insert syntax of reports ("%1", "%1!d!", "%n", ...); every line of a text
// ends in "\r\n".
//
// A table is filled before it is shared; lookups may then run on any number of threads.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

// Languages of the message tables.
inline constexpr std::uint16_t kMessageLanguageEnglish = 0x0409;
inline constexpr std::uint16_t kMessageLanguageFrenchCanada = 0x0C0C;

struct YMessageTableEntry {
    std::uint32_t id;
    std::u16string_view text;
};

class YMessageTable {
public:
    YMessageTable() = default;
    YMessageTable(const YMessageTable&) = delete;
    YMessageTable& operator=(const YMessageTable&) = delete;

    // Adds texts that outlive the table (static data, such as a compiled table); they are not
    // copied. An id given twice for one language keeps its last text.
    void AddTexts(std::uint16_t language, std::span<const YMessageTableEntry> entries);
    // Adds or replaces one text, copied into the table.
    void AddText(std::uint16_t language, std::uint32_t id, std::u16string_view text);

    // The text in the given language, else in English; false when neither holds the id.
    [[nodiscard]] bool FindText(std::uint32_t id, std::uint16_t language,
                                std::u16string_view& text) const;
    // The same in the user's language (rivode::GetMessageLanguage).
    [[nodiscard]] bool FindText(std::uint32_t id, std::u16string_view& text) const;

    std::vector<std::uint16_t> GetLanguages() const;
    // The ids of one language in ascending order.
    std::vector<std::uint32_t> GetIds(std::uint16_t language) const;

private:
    struct Language {
        std::uint16_t language;
        std::vector<YMessageTableEntry> entries;  // sorted by id, one entry per id
    };
    Language& LanguageFor(std::uint16_t language);
    const Language* FindLanguage(std::uint16_t language) const;

    std::vector<Language> languages_;
    std::deque<std::u16string> ownedTexts_;  // a deque never moves what it holds
};

namespace rivode {

// This library's own table.
const YMessageTable& GetLibraryMessageTable();

// The host executable's table, consulted after a report's own source; nullptr removes it. The
// table must outlive its registration. Thread-safe.
void RegisterHostMessageTable(const YMessageTable* table);
const YMessageTable* GetHostMessageTable();

// The language texts are shown in: the one set with SetMessageLanguage, else the user's locale
// (LC_ALL, LC_MESSAGES, LANG): French (Canada) for "fr_CA" with any codeset or modifier, English
// for anything else. Thread-safe.
std::uint16_t GetMessageLanguage();
// 0 returns to the user's locale.
void SetMessageLanguage(std::uint16_t language);
std::uint16_t MessageLanguageFromLocale(std::string_view localeName);

}  // namespace rivode

#pragma GCC visibility pop

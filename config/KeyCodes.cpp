#include <RivodeRavudaVU/KeyCodes.h>

#include <array>
#include <charconv>
#include <cstdio>

namespace {

struct KeyNameRow {
    int table;
    std::u16string_view name;
    std::uint32_t code;
};

constexpr KeyNameRow kKeyNames[] = {
#define RIVODE_KEY_NAME(table, name, code) {table, name, code},
#include "config/KeyNames.inc"
#undef RIVODE_KEY_NAME
};

constexpr KeymapFunction kFunctions[] = {
#define RIVODE_KEYMAP_FUNCTION(code, name) {code, name},
#include "config/KeymapFunctions.inc"
#undef RIVODE_KEYMAP_FUNCTION
    {0, u""},
};
static_assert(std::size(kFunctions) == 281);

// Names older key maps used for functions that have since been renamed or merged. The first
// group is consulted before the table, so that it wins over any row; the second after it.
constexpr KeymapFunction kRetiredNamesFirst[] = {
    {64, u"MENU_TOGGLE_CHAT_WINDOW"},       {48, u"MENU_GOTO_CHAT_SESSION_WINDOW"},
    {96, u"MENU_THEMES_OFFICE2003"},        {69, u"MENU_HEX_VIEW"},
    {45, u"MENU_EDIT_PASTE_AS_QUOTATION"},
};
constexpr KeymapFunction kRetiredNamesLast[] = {{268, u"VT_HELP"}, {269, u"VT_DO"}};

// The mask is made from the five modifier constants rather than written out, so that it cannot
// drift from them.
std::uint32_t ModifierMask() {
    static const std::uint32_t mask = kKeyExtended | kKeyCtrl | kKeyShift | kKeyAlt | kKeyWindows;
    return mask;
}

bool IsBlank(char16_t c) {
    return c == u' ';
}

std::uint32_t NumberToCode(std::u16string_view text) {
    int base = 10;
    std::size_t start = 0;
    if (text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        base = 16;
        start = 2;
    } else if (text.size() >= 2 && text[0] == u'0') {
        base = 8;
        start = 1;
    }
    std::string digits;
    std::size_t end = start;
    for (; end < text.size() && text[end] < 0x80 && !IsBlank(text[end]); ++end) {
        digits.push_back(static_cast<char>(text[end]));
    }
    for (std::size_t rest = end; rest < text.size(); ++rest) {
        if (!IsBlank(text[rest])) {
            return kNoKeyCode;
        }
    }
    if (digits.empty()) {
        // "0" followed by blanks is zero; "0x" with no digits is no number.
        return base == 8 ? 0 : kNoKeyCode;
    }
    std::uint32_t value = 0;
    const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(),
                                               value, base);
    if (error != std::errc() || last != digits.data() + digits.size()) {
        return kNoKeyCode;
    }
    return value;
}

}  // namespace

unsigned int GetModifiers(unsigned int key) {
    return key & ModifierMask();
}

unsigned int GetUnmodifiedKey(unsigned int key) {
    return key & ~ModifierMask();
}

YUnicodeString KeyModifiersToString(unsigned int key) {
    static constexpr std::array<std::pair<std::uint32_t, std::u16string_view>, 5> kPrefixes = {{
        {kKeyAlt, u"Alt-"},
        {kKeyCtrl, u"Ctrl-"},
        {kKeyShift, u"Shift-"},
        {kKeyExtended, u"Extended-"},
        {kKeyWindows, u"Windows-"},
    }};
    YUnicodeString text;
    for (const auto& [bit, prefix] : kPrefixes) {
        if ((key & bit) != 0) {
            text += prefix;
        }
    }
    return text;
}

YUnicodeString KeyCodeToName(std::uint32_t code) {
    // Table 1 rows come first in kKeyNames, so the first match honours the table order.
    for (const KeyNameRow& row : kKeyNames) {
        if (row.code == code) {
            return YUnicodeString(row.name);
        }
    }
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(code));
    return rivode::FromAscii(text);
}

std::uint32_t KeyNameToCode(std::u16string_view name) {
    if (!name.empty() && name[0] >= u'0' && name[0] <= u'9') {
        return NumberToCode(name);
    }
    for (const KeyNameRow& row : kKeyNames) {
        if (row.name == name) {
            return row.code;
        }
    }
    return kNoKeyCode;
}

std::span<const KeymapFunction> GetKeymapFunctionTable() {
    return kFunctions;
}

std::uint32_t FunctionNameToCode(std::u16string_view name) {
    for (const std::span<const KeymapFunction> group :
         {std::span<const KeymapFunction>(kRetiredNamesFirst),
          std::span<const KeymapFunction>(kFunctions),
          std::span<const KeymapFunction>(kRetiredNamesLast)}) {
        for (const KeymapFunction& row : group) {
            if (row.name == name) {
                return row.code;
            }
        }
    }
    return kNoKeyCode;
}

YUnicodeString FunctionCodeToName(std::uint32_t code) {
    for (const KeymapFunction& row : kFunctions) {
        if (row.code == code) {
            return YUnicodeString(row.name);
        }
    }
    return {};
}

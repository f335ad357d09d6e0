#include <RivodeRavudaVU/KeyCodes.h>

#include <RivodeRavudaVU/HexDigits.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <unordered_map>
#include <vector>

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
    std::uint32_t base = 10;
    std::size_t position = 0;
    if (text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        base = 16;
        position = 2;
    } else if (text.size() >= 2 && text[0] == u'0') {
        base = 8;
        position = 1;
    }
    const std::size_t digitsStart = position;
    std::uint64_t value = 0;
    for (; position < text.size() && !IsBlank(text[position]); ++position) {
        const int digit = rivode::HexDigitValue(text[position]);
        if (digit < 0 || digit >= static_cast<int>(base)) {
            return kNoKeyCode;
        }
        value = value * base + static_cast<std::uint32_t>(digit);
        if (value > 0xFFFFFFFFu) {
            return kNoKeyCode;
        }
    }
    for (std::size_t rest = position; rest < text.size(); ++rest) {
        if (!IsBlank(text[rest])) {
            return kNoKeyCode;
        }
    }
    if (position == digitsStart) {
        // "0" followed by blanks is zero; "0x" with no digits is no number.
        return base == 8 ? 0 : kNoKeyCode;
    }
    return static_cast<std::uint32_t>(value);
}

// The tables indexed for lookup, made once: loading a key map looks up a key name and a function
// name on every line, and writing one a key name, where a walk through the tables would cost
// more than the rest of the line. Where a name or code has several rows, the first row in table
// order is kept, which is the row a walk would find.
template <class Key, class Value>
class FirstRowIndex {
public:
    void Add(Key key, Value value) { rows_.emplace(key, value); }  // an existing key is kept
    const Value* Find(Key key) const {
        const auto found = rows_.find(key);
        return found != rows_.end() ? &found->second : nullptr;
    }

private:
    std::unordered_map<Key, Value> rows_;
};

struct KeyNameIndex {
    FirstRowIndex<std::u16string_view, std::uint32_t> byName;
    FirstRowIndex<std::uint32_t, std::u16string_view> byCode;
};

const KeyNameIndex& KeyNames() {
    static const KeyNameIndex index = [] {
        KeyNameIndex made;
        // Table 1 rows come first in kKeyNames, so the first row honours the table order.
        for (const KeyNameRow& row : kKeyNames) {
            made.byName.Add(row.name, row.code);
            made.byCode.Add(row.code, row.name);
        }
        return made;
    }();
    return index;
}

const FirstRowIndex<std::u16string_view, std::uint32_t>& FunctionNames() {
    static const FirstRowIndex<std::u16string_view, std::uint32_t> index = [] {
        FirstRowIndex<std::u16string_view, std::uint32_t> made;
        for (const std::span<const KeymapFunction> group :
             {std::span<const KeymapFunction>(kRetiredNamesFirst),
              std::span<const KeymapFunction>(kFunctions),
              std::span<const KeymapFunction>(kRetiredNamesLast)}) {
            for (const KeymapFunction& row : group) {
                made.Add(row.name, row.code);
            }
        }
        return made;
    }();
    return index;
}

// Every row's code is its position, so a code finds its row directly.
constexpr bool CodesArePositions() {
    for (std::size_t i = 0; i + 1 < std::size(kFunctions); ++i) {
        if (kFunctions[i].code != i) {
            return false;
        }
    }
    return true;
}
static_assert(CodesArePositions());

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
    if (const std::u16string_view* name = KeyNames().byCode.Find(code)) {
        return YUnicodeString(*name);
    }
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(code));
    return rivode::FromAscii(text);
}

std::uint32_t KeyNameToCode(std::u16string_view name) {
    if (!name.empty() && name[0] >= u'0' && name[0] <= u'9') {
        return NumberToCode(name);
    }
    const std::uint32_t* code = KeyNames().byName.Find(name);
    return code != nullptr ? *code : kNoKeyCode;
}

std::span<const KeymapFunction> GetKeymapFunctionTable() {
    return kFunctions;
}

std::uint32_t FunctionNameToCode(std::u16string_view name) {
    const std::uint32_t* code = FunctionNames().Find(name);
    return code != nullptr ? *code : kNoKeyCode;
}

YUnicodeString FunctionCodeToName(std::uint32_t code) {
    // The final row (code 0, no name) is never the first row of its code.
    return code + 1 < std::size(kFunctions) ? YUnicodeString(kFunctions[code].name)
                                            : YUnicodeString();
}

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

// Which name a look-up finds first when an older name is also some row's own name.
enum OlderNamePrecedence { kNoOlderName, kOlderNameWins, kRowNameWins };

struct FunctionRow {
    KeymapFunction function;
    std::u16string_view olderName;
    OlderNamePrecedence precedence;
};

constexpr FunctionRow kFunctionRows[] = {
#define RIVODE_KEYMAP_FUNCTION(code, name) {{code, name}, {}, kNoOlderName},
#define RIVODE_KEYMAP_RENAMED(code, name, olderName, precedence) \
    {{code, name}, olderName, precedence},
#include "config/KeymapFunctions.inc"
#undef RIVODE_KEYMAP_FUNCTION
#undef RIVODE_KEYMAP_RENAMED
};

// The public table: the rows' functions and the row that ends it.
constexpr auto kFunctions = [] {
    std::array<KeymapFunction, std::size(kFunctionRows) + 1> functions{};
    for (std::size_t i = 0; i < std::size(kFunctionRows); ++i) {
        functions[i] = kFunctionRows[i].function;
    }
    functions.back() = {0, u""};
    return functions;
}();
static_assert(std::size(kFunctions) == 281);

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
        const auto addOlderNames = [&made](OlderNamePrecedence precedence) {
            for (const FunctionRow& row : kFunctionRows) {
                if (row.precedence == precedence) {
                    made.Add(row.olderName, row.function.code);
                }
            }
        };
        addOlderNames(kOlderNameWins);
        for (const KeymapFunction& function : kFunctions) {
            made.Add(function.name, function.code);
        }
        addOlderNames(kRowNameWins);
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

#include <RivodeRavudaVU/KeymapLine.h>

#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YProfilePath.h>

#include "config/KeymapText.h"

#include <optional>
#include <string>

namespace {

constexpr std::size_t kKeyNameWidth = 20;

bool IsSeparator(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::size_t SkipSeparators(std::u16string_view text, std::size_t position) {
    while (position < text.size() && IsSeparator(text[position])) {
        ++position;
    }
    return position;
}

std::size_t TokenEnd(std::u16string_view text, std::size_t position) {
    while (position < text.size() && !IsSeparator(text[position])) {
        ++position;
    }
    return position;
}

YUnicodeString Number(int number) {
    return rivode::FromAscii(std::to_string(number));
}

void AddError(KeymapParseState& state, std::uint32_t id,
              std::initializer_list<YUnicodeString> inserts) {
    YReportMessageParams report(id);
    for (const YUnicodeString& insert : inserts) {
        report.AddString(insert);
    }
    YUnicodeString text = report.GetSingleLineTextTrimmed();
    if (!state.errorText.empty()) {
        state.errorText += u'\n';
    }
    state.errorText += text;
    state.errors.push_back({state.lineNumber, id, std::move(text)});
    ++state.errorCount;
}

// The position of the two characters first, second at or after position, or npos.
std::size_t FindPair(std::u16string_view text, std::size_t position, char16_t first,
                     char16_t second) {
    for (std::size_t i = position; i + 1 < text.size(); ++i) {
        if (text[i] == first && text[i + 1] == second) {
            return i;
        }
    }
    return std::u16string_view::npos;
}

// The text between the next ("  and the next ")  from position; position moves one past the
// start of the closing pair. nullopt when either is missing.
std::optional<YUnicodeString> ReadArgument(std::u16string_view text, std::size_t& position) {
    const std::size_t open = FindPair(text, position, u'(', u'"');
    if (open == std::u16string_view::npos) {
        return std::nullopt;
    }
    const std::size_t close = FindPair(text, open + 2, u'"', u')');
    if (close == std::u16string_view::npos) {
        return std::nullopt;
    }
    position = close + 1;
    return YUnicodeString(text.substr(open + 2, close - open - 2));
}

bool HasPair(std::u16string_view text, std::size_t position, char16_t first, char16_t second) {
    return FindPair(text, position, first, second) != std::u16string_view::npos;
}

// Key names and modifier letters are ASCII; other characters take the general rule.
char16_t UpperCase(char16_t c) {
    if (c < 0x80) {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    }
    return rivode::ToUpperSimple(c);
}

bool IsUnversioned(const Keymap& map, KeymapParseState& state) {
    if (!state.unversioned) {
        state.unversioned = map.IsUnversioned();
    }
    return *state.unversioned;
}

bool HasCombinedLaunchCommand(const Keymap& map, KeymapParseState& state) {
    if (!state.combinedLaunch) {
        state.combinedLaunch = map.HasCombinedLaunchCommand();
    }
    return *state.combinedLaunch;
}

// Field 1: each of N, E, C, S, A once, in any order; every other letter is an error.
std::uint32_t ReadModifiers(std::u16string_view field, KeymapParseState& state) {
    static constexpr std::pair<char16_t, std::uint32_t> kLetters[] = {
        {u'N', 0}, {u'E', kKeyExtended}, {u'C', kKeyCtrl}, {u'S', kKeyShift}, {u'A', kKeyAlt}};
    bool taken[std::size(kLetters)] = {};
    std::uint32_t modifiers = 0;
    for (const char16_t c : field) {
        const char16_t upper = UpperCase(c);
        bool known = false;
        for (std::size_t i = 0; i < std::size(kLetters) && !known; ++i) {
            if (kLetters[i].first == upper && !taken[i]) {
                taken[i] = true;
                modifiers |= kLetters[i].second;
                known = true;
            }
        }
        if (!known && upper != u' ') {
            AddError(state, rivode::msg::KeymapUnknownModifier,
                     {YUnicodeString(1, upper), Number(state.lineNumber)});
        }
    }
    return modifiers;
}

// The key of field 2, upper-cased; fields as short as key names are upper-cased on the stack,
// so that a line costs no allocation.
std::uint32_t ReadKey(std::u16string_view field) {
    char16_t upper[40];
    if (field.size() > std::size(upper)) {
        return KeyNameToCode(rivode::ToUpperSimple(field));
    }
    for (std::size_t i = 0; i < field.size(); ++i) {
        upper[i] = UpperCase(field[i]);
    }
    return KeyNameToCode(std::u16string_view(upper, field.size()));
}

// RUN("script")("arguments") and LAUNCH("program")("arguments"); the second pair is optional.
void ReadCommand(Keymap& map, std::uint32_t key, std::uint32_t code, std::u16string_view action,
                 KeymapParseState& state) {
    std::size_t position = 0;
    std::optional<YUnicodeString> first = ReadArgument(action, position);
    if (!first) {
        AddError(state, rivode::msg::KeymapLineIncomplete, {Number(state.lineNumber)});
        return;
    }
    YUnicodeString second;
    if (std::optional<YUnicodeString> read = ReadArgument(action, position)) {
        second = std::move(*read);
    } else if (HasPair(action, position, u'(', u'"') || HasPair(action, position, u'"', u')')) {
        AddError(state, rivode::msg::KeymapLineIncomplete, {Number(state.lineNumber)});
        return;
    }
    if (code == kFunctionRun) {
        first = state.Paths().Expand(*first);
    } else if (HasCombinedLaunchCommand(map, state)) {
        YUnicodeString program;
        if (SplitCommandLine(*first, program, second)) {
            first = std::move(program);
        }
    }
    map.Set({key, code, std::move(*first), std::move(second)});
}

void ReadAction(Keymap& map, std::uint32_t key, std::u16string_view action,
                KeymapParseState& state) {
    if (action.front() == u'"') {
        const std::size_t last = action.rfind(u'"');
        YUnicodeString value;
        if (last == 0) {
            AddError(state, rivode::msg::KeymapUnterminatedString, {Number(state.lineNumber)});
        } else {
            value = YUnicodeString(action.substr(1, last - 1));
        }
        if (IsUnversioned(map, state)) {
            DoubleLineBreakEscapes(value);
        }
        map.Set({key, kFunctionSend, std::move(value), {}});
        return;
    }
    if (action.starts_with(u"RUN") || action.starts_with(u"LAUNCH")) {
        ReadCommand(map, key, action.starts_with(u"RUN") ? kFunctionRun : kFunctionLaunch, action,
                    state);
        return;
    }
    if (action.starts_with(u"SET_BUTTONBAR")) {
        std::size_t position = 0;
        std::optional<YUnicodeString> name = ReadArgument(action, position);
        if (!name) {
            AddError(state, rivode::msg::KeymapLineIncomplete, {Number(state.lineNumber)});
            return;
        }
        map.Set({key, kFunctionSetButtonbar, std::move(*name), {}});
        return;
    }
    const std::u16string_view name = action.substr(0, TokenEnd(action, 0));
    const std::uint32_t code = FunctionNameToCode(name);
    // SEND and NONE take no bare form: a SEND needs its text, and NONE is no mapping.
    if (code == kNoKeyCode || code < kFunctionRun) {
        AddError(state, rivode::msg::KeymapUnknownFunction,
                 {YUnicodeString(name), Number(state.lineNumber)});
        return;
    }
    map.Set({key, code, {}, {}});
}

}  // namespace

void ReplaceAll(YUnicodeString& text, std::u16string_view from, std::u16string_view to) {
    for (std::size_t at = text.find(from); at != YUnicodeString::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// Older key maps stored a line break in a SEND text as the escape "\r\n", which is now how a
// typed backslash sequence is kept; doubling keeps their meaning.
void DoubleLineBreakEscapes(YUnicodeString& text) {
    ReplaceAll(text, u"\\r\\n", u"\\\\r\\\\n");
}

YUnicodeString FormatKeymapLine(const KeyMapEntry& entry) {
    return FormatKeymapLine(entry, ProfilePath());
}

YUnicodeString FormatKeymapLine(const KeyMapEntry& entry, const ProfilePath& paths) {
    if (entry.functionCode == kFunctionNone) {
        return {};
    }
    YUnicodeString line;
    static constexpr std::pair<std::uint32_t, char16_t> kLetters[] = {
        {kKeyAlt, u'A'}, {kKeyCtrl, u'C'}, {kKeyShift, u'S'}, {kKeyExtended, u'E'}};
    for (const auto& [bit, letter] : kLetters) {
        if ((entry.key & bit) != 0) {
            line += letter;
        }
    }
    if (line.empty()) {
        line = u"N";
    }
    line += u'\t';
    YUnicodeString name =
        KeyCodeToName(entry.key & ~(kKeyAlt | kKeyCtrl | kKeyShift | kKeyExtended));
    if (name.size() < kKeyNameWidth) {
        name.append(kKeyNameWidth - name.size(), u' ');
    }
    line += name;
    line += u'\t';
    switch (entry.functionCode) {
        case kFunctionSend:
            line += u'"' + entry.value + u'"';
            break;
        case kFunctionRun:
            line +=
                u"RUN(\"" + paths.Substitute(entry.value) + u"\")(\"" + entry.arguments + u"\")";
            break;
        case kFunctionLaunch:
            line += u"LAUNCH(\"" + entry.value + u"\")(\"" + entry.arguments + u"\")";
            break;
        case kFunctionSetButtonbar:
            line += u"SET_BUTTONBAR(\"" + entry.value + u"\")";
            break;
        default:
            line += FunctionCodeToName(entry.functionCode);
    }
    return line;
}

bool ParseKeymapLine(Keymap& map, std::u16string_view line, KeymapParseState& state) {
    if (state.errorCount >= KeymapParseState::kErrorLimit) {
        return false;
    }
    ++state.lineNumber;
    if (line.empty() || line.front() == u';') {
        return true;
    }
    const std::size_t modifiersEnd = TokenEnd(line, 0);
    const std::size_t keyStart = SkipSeparators(line, modifiersEnd);
    const std::size_t keyEnd = TokenEnd(line, keyStart);
    const std::size_t actionStart = SkipSeparators(line, keyEnd);
    std::u16string_view action = line.substr(actionStart);
    action = action.substr(0, action.find(u'\n'));
    if (modifiersEnd == 0 || keyEnd == keyStart || action.empty()) {
        AddError(state, rivode::msg::KeymapLineIncomplete, {Number(state.lineNumber)});
        return true;
    }
    const std::u16string_view keyField = line.substr(keyStart, keyEnd - keyStart);
    const std::uint32_t key = ReadKey(keyField);
    if (key == kNoKeyCode) {
        AddError(state, rivode::msg::KeymapUnknownKey,
                 {rivode::ToUpperSimple(keyField), Number(state.lineNumber)});
        return true;
    }
    const std::uint32_t modifiers = ReadModifiers(line.substr(0, modifiersEnd), state);
    ReadAction(map, key | modifiers, action, state);
    return true;
}

bool SplitCommandLine(std::u16string_view text, YUnicodeString& program,
                      YUnicodeString& arguments) {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) {
        return false;
    }
    text = text.substr(first, text.find_last_not_of(u' ') - first + 1);
    if (text.front() == u'"') {
        const std::size_t close = text.find(u'"', 1);
        program = YUnicodeString(text.substr(
            1, close == std::u16string_view::npos ? std::u16string_view::npos : close - 1));
        arguments = close == std::u16string_view::npos ? YUnicodeString()
                                                       : YUnicodeString(text.substr(close + 1));
        return true;
    }
    const YUnicodeString upper = rivode::ToUpperSimple(text);
    if (const std::size_t exe = upper.find(u".EXE"); exe != YUnicodeString::npos) {
        program = YUnicodeString(text.substr(0, exe + 4));
        arguments = YUnicodeString(text.substr(exe + 4));
        return true;
    }
    if (const std::size_t blank = text.find(u' '); blank != std::u16string_view::npos) {
        program = YUnicodeString(text.substr(0, blank));
        arguments = YUnicodeString(text.substr(blank + 1));
        return true;
    }
    program = YUnicodeString(text);
    return true;
}

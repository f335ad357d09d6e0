// The key-map line: the forms a line may take, what each stores, and its errors.
#include <RivodeRavudaVU/KeymapLine.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <gtest/gtest.h>

#include <optional>

namespace rivode::test {
namespace {

struct Parsed {
    std::optional<KeyMapEntry> entry;  // the only mapping stored, if any
    std::vector<std::uint32_t> errors;
};

Parsed Parse(std::u16string_view line, std::u16string_view version = u"") {
    Keymap map;
    map.SetVersion(YUnicodeString(version));
    KeymapParseState state;
    EXPECT_TRUE(ParseKeymapLine(map, line, state));
    Parsed parsed;
    const auto entries = map.GetSortedEntries();
    EXPECT_LE(entries.size(), 1u);
    if (!entries.empty()) {
        parsed.entry = entries.front();
    }
    for (const auto& error : state.errors) {
        EXPECT_EQ(error.lineNumber, 1);
        parsed.errors.push_back(error.messageId);
    }
    return parsed;
}

KeyMapEntry Entry(std::uint32_t key, std::uint32_t code, std::u16string_view value = u"",
                  std::u16string_view arguments = u"") {
    return {key, code, YUnicodeString(value), YUnicodeString(arguments)};
}

TEST(KeymapLineTest, EachFormStoresItsMapping) {
    using namespace rivode::msg;
    const struct {
        std::u16string_view line;
        std::u16string_view version;
        std::optional<KeyMapEntry> entry;
        std::vector<std::uint32_t> errors;
    } cases[] = {
        {u"N\tVK_F5\tMENU_CONNECT", u"", Entry(0x74, 19), {}},
        {u"N  vk_f5   MENU_CONNECT trailing", u"", Entry(0x74, 19), {}},
        // Modifiers in any order and case; a repeated letter is an error but the line counts.
        {u"ACS\tVK_A\tDISABLED", u"", Entry(0x1C000041, 5), {}},
        {u"sca\tVK_A\tDISABLED", u"", Entry(0x1C000041, 5), {}},
        {u"AA\tVK_A\tDISABLED", u"", Entry(0x10000041, 5), {KeymapUnknownModifier}},
        {u"NX\t0x41\tVT_PF1", u"", Entry(0x41, 234), {KeymapUnknownModifier}},
        {u"E\tVK_MENU\tMENU_HEX_VIEW", u"", Entry(0x02000012, 69), {}},
        // SEND keeps everything up to the last double quote.
        {u"N\tVK_A\t\"say \"hi\" now\" tail", u"", Entry(0x41, 1, u"say \"hi\" now"), {}},
        {u"N\tVK_A\t\"open", u"", Entry(0x41, 1), {KeymapUnterminatedString}},
        // Before versions, "\r\n" in a SEND text meant a line break and is doubled.
        {u"N\tVK_A\t\"a\\r\\nb\"", u"", Entry(0x41, 1, u"a\\\\r\\\\nb"), {}},
        {u"N\tVK_A\t\"a\\r\\nb\"", u"Version = 1", Entry(0x41, 1, u"a\\r\\nb"), {}},
        // RUN: one argument is enough; a first argument without its closing pair stores nothing.
        {u"N\tVK_R\tRUN(\"/s/a.py\")", u"", Entry(0x52, 2, u"/s/a.py"), {}},
        {u"N\tVK_R\tRUN(\"/s/a.py\")(\"-v x\")", u"", Entry(0x52, 2, u"/s/a.py", u"-v x"), {}},
        {u"N\tVK_R\tRUN(\"/s/a.py)", u"", std::nullopt, {KeymapLineIncomplete}},
        {u"N\tVK_R\tRUN", u"", std::nullopt, {KeymapLineIncomplete}},
        // LAUNCH: without "Version = 2" the first argument is the whole command line.
        {u"N\tVK_L\tLAUNCH(\"C:\\app.EXE -x\")(\"ignored\")",
         u"",
         Entry(0x4C, 3, u"C:\\app.EXE", u" -x"),
         {}},
        {u"N\tVK_L\tLAUNCH(\"C:\\app.EXE -x\")(\"kept\")",
         u"Version = 2",
         Entry(0x4C, 3, u"C:\\app.EXE -x", u"kept"),
         {}},
        {u"N\tVK_L\tLAUNCH(\"\"/opt/my app\" -y\")",
         u"Version = 1",
         Entry(0x4C, 3, u"/opt/my app", u" -y"),
         {}},
        {u"N\tVK_L\tLAUNCH(\"xterm -e top\")(\"z\")", u"", Entry(0x4C, 3, u"xterm", u"-e top"), {}},
        {u"N\tVK_L\tLAUNCH(\"xterm\")(\"z\")", u"", Entry(0x4C, 3, u"xterm", u"z"), {}},
        {u"N\tVK_B\tSET_BUTTONBAR(\"Tools\")", u"", Entry(0x42, 4, u"Tools"), {}},
        // NONE and SEND have no bare form.
        {u"N\tVK_A\tNONE", u"", std::nullopt, {KeymapUnknownFunction}},
        {u"N\tVK_A\tSEND", u"", std::nullopt, {KeymapUnknownFunction}},
        {u"N\tVK_A\tMENU_NOTHING", u"", std::nullopt, {KeymapUnknownFunction}},
        {u"N\tVK_NOPE\tDISABLED", u"", std::nullopt, {KeymapUnknownKey}},
        // Names with a blank cannot be read back: the blank ends the key field.
        {u"N\tVK_CONTEXT 1\tDISABLED", u"", std::nullopt, {KeymapUnknownKey}},
        {u"N\tVK_A", u"", std::nullopt, {KeymapLineIncomplete}},
        {u" N\tVK_A\tDISABLED", u"", std::nullopt, {KeymapLineIncomplete}},
        {u"; N\tVK_A\tDISABLED", u"", std::nullopt, {}},
        {u"", u"", std::nullopt, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.line));
        const Parsed parsed = Parse(c.line, c.version);
        EXPECT_EQ(parsed.entry, c.entry);
        EXPECT_EQ(parsed.errors, c.errors);
    }
}

TEST(KeymapLineTest, FormattedLinesReadBackAsTheSameMapping) {
    const KeyMapEntry entries[] = {
        Entry(0x70, 234),
        Entry(0x04000020, 1, u"\\000"),
        Entry(0x1E000041, 1, u"quote \" inside"),
        Entry(0x80000040, 5),
        Entry(0x52, 2, u"/scripts/run me.py", u"--flag"),
        Entry(0x4C, 3, u"/usr/bin/xterm", u"-e top"),
        Entry(0x42, 4, u"Tools"),
        Entry(0x01020006, 19),
        Entry(0xDC, 64),
    };
    for (const KeyMapEntry& entry : entries) {
        const YUnicodeString line = FormatKeymapLine(entry);
        SCOPED_TRACE(ToUtf8(line));
        EXPECT_EQ(Parse(line, u"Version = 2").entry, entry);
    }
    EXPECT_EQ(FormatKeymapLine(Entry(0x70, 234)), u"N\tVK_F1               \tVT_PF1");
    EXPECT_EQ(FormatKeymapLine(Entry(0x1E000041, 5)), u"ACSE\tVK_A                \tDISABLED");
    EXPECT_EQ(FormatKeymapLine(Entry(0x04000020, 1, u"\\000")),
              u"C\tVK_SPACE            \t\"\\000\"");
    EXPECT_EQ(FormatKeymapLine(Entry(0x41, 0)), u"");
}

TEST(KeymapLineTest, ReadingStopsOnceThreeErrorsAreCounted) {
    Keymap map;
    KeymapParseState state;
    EXPECT_TRUE(ParseKeymapLine(map, u"AAA\tVK_A\tDISABLED", state));  // two modifier errors
    EXPECT_TRUE(ParseKeymapLine(map, u"N\tVK_B\tBOGUS", state));
    EXPECT_FALSE(ParseKeymapLine(map, u"N\tVK_C\tDISABLED", state));
    EXPECT_EQ(state.errorCount, 3);
    EXPECT_EQ(state.lineNumber, 2);
    EXPECT_EQ(map.GetFunctionCode(0x41 | kKeyAlt), kFunctionDisabled);
    EXPECT_EQ(map.GetFunctionCode(0x43), kFunctionNone);
    EXPECT_EQ(std::count(state.errorText.begin(), state.errorText.end(), u'\n'), 2);
}

TEST(KeymapLineTest, CommandLinesSplitIntoProgramAndArguments) {
    const struct {
        std::u16string_view text;
        std::u16string_view program;
        std::u16string_view arguments;
    } cases[] = {
        {u"  \"/opt/my app/run\" -x  ", u"/opt/my app/run", u" -x"},
        {u"C:\\Tools\\A.exe.exe /q", u"C:\\Tools\\A.exe", u".exe /q"},
        {u"vim -R file", u"vim", u"-R file"},
        {u"top", u"top", u"before"},  // arguments left as they were
    };
    for (const auto& c : cases) {
        YUnicodeString program;
        YUnicodeString arguments = u"before";
        EXPECT_TRUE(SplitCommandLine(c.text, program, arguments));
        EXPECT_EQ(program, c.program);
        EXPECT_EQ(arguments, c.arguments);
    }
    YUnicodeString program;
    YUnicodeString arguments;
    EXPECT_FALSE(SplitCommandLine(u"   ", program, arguments));
}

}  // namespace
}  // namespace rivode::test

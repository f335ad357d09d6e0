// The text line of one mapping, as ".key" files and a session's stored key map hold it:
//
//   modifiers TAB key name padded to 20 TAB action
//
// modifiers: "A", "C", "S", "E" (Alt, Ctrl, Shift, Extended) in that order, or "N" for none;
// reading accepts them in any order and letter case. action: a SEND text in double quotes
// (written as stored, a double quote inside is not escaped: reading takes everything up to the
// last double quote), RUN("script")("arguments"), LAUNCH("program")("arguments"),
// SET_BUTTONBAR("name"), or a function name. Lines beginning with ";" and empty lines are
// skipped.
#pragma once

#include <RivodeRavudaVU/Keymap.h>
#include <RivodeRavudaVU/YProfilePath.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

// What reading lines has found so far. A reader keeps one state across the lines of a source.
struct KeymapParseState {
    struct LineError {
        int lineNumber = 0;
        std::uint32_t messageId = 0;
        YUnicodeString text;  // the report's single-line text
    };
    int errorCount = 0;
    int lineNumber = 0;  // of the last line read
    // The reports' texts, separated by line feeds.
    YUnicodeString errorText;
    std::vector<LineError> errors;

    // A load stops at this many errors and fails.
    static constexpr int kErrorLimit = 3;

    // How the map reads the source's texts (Keymap::IsUnversioned, HasCombinedLaunchCommand),
    // asked once per source: a map's version does not change while its lines are read.
    std::optional<bool> unversioned;
    std::optional<bool> combinedLaunch;

    // The folders RUN scripts are stored relative to, found once per source.
    const ProfilePath& Paths() {
        if (!paths) {
            paths.emplace();
        }
        return *paths;
    }
    std::optional<ProfilePath> paths;
};

// The line of entry; empty for function code 0. A RUN script is written in its stored form,
// with path variables.
YUnicodeString FormatKeymapLine(const KeyMapEntry& entry);
// The same with the folders of stored paths given, for callers that write many lines.
YUnicodeString FormatKeymapLine(const KeyMapEntry& entry, const ProfilePath& paths);

// Reads one line into map (a later line for the same key replaces an earlier one). Errors are
// counted in state and their reports (0xE1370059-0xE137005D with the line number) appended to
// its texts; a line in error stores nothing, except that unknown modifier letters are only
// reported and a SEND text without its closing double quote is stored empty. Whether SEND texts
// double their "\r\n" escapes and LAUNCH texts are split follows map's version. false only to
// say that reading must stop: the error limit was reached before this line.
bool ParseKeymapLine(Keymap& map, std::u16string_view line, KeymapParseState& state);

// Splits a command line of one text into program and arguments: blanks trimmed at both ends; a
// program in double quotes ends at the next double quote; otherwise it ends after the first
// ".exe" (any case) or before the first blank, the arguments following. A text without either
// is all program and leaves arguments unchanged. false for an empty text.
bool SplitCommandLine(std::u16string_view text, YUnicodeString& program, YUnicodeString& arguments);

#pragma GCC visibility pop

// Key codes, key names and the key-map function table.
//
// A key code is 32 bits: bits 0-24 the key (a virtual-key code 0x00-0xFF or an extended key
// 0x01000000-0x01FFFFFF), then the modifiers Extended (the right-hand or grey variant), Ctrl,
// Shift, Alt and Windows, and in bit 31 the character flag: bits 0-7 then hold an ISO 8859-1
// character instead of a virtual-key code. The character flag belongs to the key, not to the
// modifiers.
//
// A function code is a row of the function table: 0 NONE (no mapping), 1 SEND, 2 RUN, 3 LAUNCH,
// 4 SET_BUTTONBAR, 5 DISABLED, then the named terminal, menu, scroll-bar and protocol functions.
//
// Everything here reads constant tables and is safe from any thread.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <span>
#include <string_view>

#pragma GCC visibility push(default)

inline constexpr std::uint32_t kKeyExtended = 0x02000000;
inline constexpr std::uint32_t kKeyCtrl = 0x04000000;
inline constexpr std::uint32_t kKeyShift = 0x08000000;
inline constexpr std::uint32_t kKeyAlt = 0x10000000;
inline constexpr std::uint32_t kKeyWindows = 0x40000000;
inline constexpr std::uint32_t kKeyCharacter = 0x80000000;
// What the name and number readers give for text that names no key or function.
inline constexpr std::uint32_t kNoKeyCode = 0xFFFFFFFF;

enum KeymapFunctionCode : std::uint32_t {
    kFunctionNone = 0,
    kFunctionSend = 1,
    kFunctionRun = 2,
    kFunctionLaunch = 3,
    kFunctionSetButtonbar = 4,
    kFunctionDisabled = 5,
};

struct KeymapFunction {
    std::uint32_t code;
    std::u16string_view name;
};

// key AND the modifier mask (Extended, Ctrl, Shift, Alt, Windows: 0x5E000000).
unsigned int GetModifiers(unsigned int key);
// key without the modifier mask (the character flag stays).
unsigned int GetUnmodifiedKey(unsigned int key);
// "Alt-", "Ctrl-", "Shift-", "Extended-", "Windows-" for the modifiers key carries, in that
// order: 0x1C000000 gives "Alt-Ctrl-Shift-". Editors show a combination as this prefix followed
// by the key's name.
YUnicodeString KeyModifiersToString(unsigned int key);

// The name of a key code given without the Alt, Ctrl, Shift and Extended bits: the first row of
// the virtual-key table, then of the second table, with that code; otherwise "0x" and the code
// in upper-case hexadecimal (a code that still carries the Windows bit is always written so).
YUnicodeString KeyCodeToName(std::uint32_t code);
// The code of a key name. A name beginning with a digit is a number (hexadecimal after 0x or 0X,
// octal after a leading 0, else decimal) that fits in 32 bits, optionally followed by blanks.
// Other names are looked up exactly, letter case included, in both tables. kNoKeyCode when the
// text names no key.
std::uint32_t KeyNameToCode(std::u16string_view name);

// The function table: 281 rows in code order, the code of each equal to its position except the
// last, which has code 0 and an empty name and ends the table.
std::span<const KeymapFunction> GetKeymapFunctionTable();
// The code of a function name, exact and case-sensitive. Five retired names are read as the
// functions that replaced them, and "VT_HELP" and "VT_DO" as VT_F15 and VT_F16. kNoKeyCode when
// the name is unknown; the empty name gives 0.
std::uint32_t FunctionNameToCode(std::u16string_view name);
// The name of the first row with that code; empty when there is none.
YUnicodeString FunctionCodeToName(std::uint32_t code);

#pragma GCC visibility pop

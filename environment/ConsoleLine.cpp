// Reading a line key by key from the controlling terminal, for passphrase prompts.
#include <RivodeRavudaVU/ConfigPassphraseStartup.h>

#include "platform/ConsoleTerminal.h"
#include "platform/SecureMemory.h"
#include "platform/Utf8Codec.h"
#include "storage/ciphers/SecretText.h"

namespace {

using rivode::platform::ConsoleTerminal;
using KeyResult = ConsoleTerminal::KeyResult;

constexpr char kCtrlC = 0x03;
constexpr char kEscape = 0x1B;
constexpr char kBackspace = 0x08;
constexpr char kDelete = 0x7F;

// Escape alone cancels; the keys that send sequences starting with it (arrows, function keys)
// arrive at once, so what follows within a moment is the rest of one key and is skipped.
bool SkipKeySequence(ConsoleTerminal& terminal) {
    char byte = 0;
    if (terminal.ReadByte(byte, std::chrono::milliseconds(30)) != KeyResult::Key) {
        return false;
    }
    if (byte != '[' && byte != 'O') {
        return true;
    }
    while (terminal.ReadByte(byte, std::chrono::milliseconds(30)) == KeyResult::Key) {
        if (byte >= 0x40 && byte <= 0x7E) {
            break;
        }
    }
    return true;
}

enum class LineEnd { Line, Cancelled, Ended };

LineEnd ReadKeys(ConsoleTerminal& terminal, bool masked, const std::string& maskText,
                 rivode::platform::SecureChars& line) {
    for (char byte = 0;;) {
        const KeyResult got = terminal.ReadByte(byte);
        if (got != KeyResult::Key) {
            return LineEnd::Ended;
        }
        if (byte == '\r' || byte == '\n') {
            return LineEnd::Line;
        }
        if (byte == kCtrlC) {
            return LineEnd::Cancelled;
        }
        if (byte == kEscape) {
            if (!SkipKeySequence(terminal)) {
                return LineEnd::Cancelled;
            }
            continue;
        }
        if (byte == kBackspace || byte == kDelete) {
            if (line.empty()) {
                continue;
            }
            while (!line.empty() && rivode::platform::IsUtf8ContinuationByte(line.back())) {
                line.pop_back();
            }
            if (!line.empty()) {
                line.pop_back();
            }
            terminal.Write("\b \b");
            continue;
        }
        if (static_cast<unsigned char>(byte) < 0x20) {
            continue;
        }
        line.push_back(byte);
        if (!rivode::platform::IsUtf8ContinuationByte(byte)) {
            terminal.Write(masked ? std::string_view(maskText) : std::string_view(&byte, 1));
        } else if (!masked) {
            terminal.Write(std::string_view(&byte, 1));
        }
    }
}

}  // namespace

bool ReadConsoleLine(const YUnicodeString& prompt, bool masked, char16_t mask, bool allowEmpty,
                     YUnicodeString& line) {
    ConsoleTerminal terminal;
    if (!terminal.IsOpen()) {
        return false;
    }
    const std::string promptText = rivode::ToUtf8(prompt);
    const std::string maskText = rivode::ToUtf8(YUnicodeString(1, mask));
    rivode::platform::SecureChars typed;
    for (bool first = true;; first = false) {
        terminal.Write(first ? promptText : "\r\n" + promptText);
        typed.clear();
        const LineEnd end = ReadKeys(terminal, masked, maskText, typed);
        if (end != LineEnd::Line) {
            terminal.Write("\r\n");
            return false;
        }
        if (!typed.empty() || allowEmpty) {
            break;
        }
    }
    terminal.Write("\r\n");
    YUnicodeString text = rivode::FromUtf8(rivode::platform::AsText(typed));
    rivode::storage::WipeText(line);
    line = std::move(text);
    return true;
}

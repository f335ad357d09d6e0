// The controlling terminal, read key by key: for questions that must reach the person at the
// console even when standard input and output are redirected (a passphrase prompt).
#pragma once

#include <chrono>
#include <string_view>

#pragma GCC visibility push(default)

namespace rivode::platform {

// While the object lives, the controlling terminal is open with echo, line editing and signal
// keys switched off, so every key (Ctrl+C and Escape included) arrives as bytes; the terminal's
// settings are restored when it goes. Not thread-safe; one at a time per process.
class ConsoleTerminal {
public:
    ConsoleTerminal();
    ~ConsoleTerminal();
    ConsoleTerminal(const ConsoleTerminal&) = delete;
    ConsoleTerminal& operator=(const ConsoleTerminal&) = delete;

    // Whether the process has a controlling terminal that could be opened.
    bool IsOpen() const { return fd_ >= 0; }

    enum class KeyResult { Key, Ended, TimedOut, Failed };
    // One byte typed; with a timeout, TimedOut when none arrives in time.
    KeyResult ReadByte(char& byte);
    KeyResult ReadByte(char& byte, std::chrono::milliseconds timeout);
    // Writes text to the terminal; false when it could not.
    bool Write(std::string_view text);

private:
    int fd_ = -1;
    bool restored_ = true;
    alignas(8) unsigned char saved_[128];
};

// Whether standard input is a terminal and the process has a controlling terminal to ask on.
bool HasConsoleTerminal();

}  // namespace rivode::platform

#pragma GCC visibility pop

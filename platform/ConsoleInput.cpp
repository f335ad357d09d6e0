#include "platform/ConsoleInput.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace rivode::platform {

namespace {

// Turns the terminal's echo off for its lifetime; nothing when standard input is no terminal.
class EchoOff {
public:
    EchoOff() {
        if (::tcgetattr(STDIN_FILENO, &saved_) != 0) {
            return;
        }
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        // Keep the line break visible, so the terminal's line discipline still ends the line.
        quiet.c_lflag |= ECHONL;
        changed_ = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (changed_) {
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios saved_{};
    bool changed_ = false;
};

// One byte: 1 read, 0 at the end of input, -1 on failure.
int ReadByte(char& byte) {
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
        if (got >= 0) {
            return static_cast<int>(got);
        }
        if (errno != EINTR) {
            return -1;
        }
    }
}

InputLineResult ReadLine(SecureChars& line) {
    // A byte at a time: reading ahead would take the following lines from whoever reads
    // standard input next. Secrets are short lines, so the calls cost nothing noticeable.
    line.reserve(1024);
    for (char byte = 0;;) {
        const int got = ReadByte(byte);
        if (got < 0) {
            return InputLineResult::Failed;
        }
        if (got == 0) {
            return line.empty() ? InputLineResult::Ended : InputLineResult::Read;
        }
        if (byte == '\n') {
            return InputLineResult::Read;
        }
        if (line.size() == kMaxInputLineLength) {
            return InputLineResult::TooLong;
        }
        line.push_back(byte);
    }
}

}  // namespace

InputLineResult ReadStandardInputLine(SecureChars& line, bool hidden) {
    line.clear();
    std::optional<EchoOff> echoOff;
    if (hidden && ::isatty(STDIN_FILENO) == 1) {
        echoOff.emplace();
    }
    const InputLineResult result = ReadLine(line);
    if (result != InputLineResult::Read) {
        line.clear();
        return result;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return result;
}

}  // namespace rivode::platform

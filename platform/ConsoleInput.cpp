#include "platform/ConsoleInput.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>
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

}  // namespace

bool ReadStandardInputLine(std::string& line, bool hidden) {
    line.clear();
    std::optional<EchoOff> echoOff;
    if (hidden && ::isatty(STDIN_FILENO) == 1) {
        echoOff.emplace();
    }
    if (!std::getline(std::cin, line)) {
        line.clear();
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

}  // namespace rivode::platform

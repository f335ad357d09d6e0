#include "platform/ConsoleTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rivode::platform {

static_assert(sizeof(termios) <= 128);

ConsoleTerminal::ConsoleTerminal() {
    fd_ = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        return;
    }
    termios saved{};
    if (::tcgetattr(fd_, &saved) != 0) {
        return;
    }
    std::memcpy(saved_, &saved, sizeof saved);
    termios raw = saved;
    // Signal keys off: Ctrl+C must reach the prompt as a key, so that it can cancel the question
    // and restore the terminal instead of killing the process with echo still off.
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | ISIG | IEXTEN);
    raw.c_iflag &= ~static_cast<tcflag_t>(ICRNL | IXON);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    restored_ = ::tcsetattr(fd_, TCSAFLUSH, &raw) != 0;
}

ConsoleTerminal::~ConsoleTerminal() {
    if (fd_ < 0) {
        return;
    }
    if (!restored_) {
        termios saved{};
        std::memcpy(&saved, saved_, sizeof saved);
        ::tcsetattr(fd_, TCSAFLUSH, &saved);
    }
    ::close(fd_);
}

ConsoleTerminal::KeyResult ConsoleTerminal::ReadByte(char& byte) {
    for (;;) {
        const ssize_t got = ::read(fd_, &byte, 1);
        if (got == 1) {
            return KeyResult::Key;
        }
        if (got == 0) {
            return KeyResult::Ended;
        }
        if (errno != EINTR) {
            return errno == EIO ? KeyResult::Ended : KeyResult::Failed;
        }
    }
}

ConsoleTerminal::KeyResult ConsoleTerminal::ReadByte(char& byte,
                                                     std::chrono::milliseconds timeout) {
    pollfd wait{fd_, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&wait, 1, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) {
        return KeyResult::TimedOut;
    }
    return ready < 0 ? KeyResult::Failed : ReadByte(byte);
}

bool ConsoleTerminal::Write(std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd_, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool HasConsoleTerminal() {
    if (::isatty(STDIN_FILENO) != 1) {
        return false;
    }
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

}  // namespace rivode::platform

// The process's environment: variables, user folders, the user's identity and language, and
// where the library itself is installed.
#pragma once

#include <optional>
#include <string>

#pragma GCC visibility push(default)

namespace rivode::platform {

std::optional<std::string> GetEnvironmentVariable(const char* name);

// $HOME, else the password database's home folder.
std::string GetHomeFolder();
// $XDG_CONFIG_HOME when set and absolute, else ~/.config.
std::string GetUserConfigFolder();
// $XDG_DATA_HOME when set and absolute, else ~/.local/share.
std::string GetUserDataFolder();
// $XDG_RUNTIME_DIR when set and absolute, else a private per-user folder under /tmp (made 0700;
// ~/.cache/yarrowby-runtime when that name is taken by someone else or not private).
std::string GetUserRuntimeFolder();

unsigned GetUserId();

// The folder holding the binary that contains this code (the shared library when the platform
// layer is loaded as one), without a trailing '/'.
std::string GetInstallFolder();
// The folder holding the running executable, without a trailing '/'.
std::string GetExecutableFolder();
// The running executable's file name without its folder.
std::string GetExecutableName();

// The language of messages as a locale name ("fr_CA", "en_US"), from LC_ALL, LC_MESSAGES and
// LANG in that order; empty when none is set.
std::string GetMessageLocale();

}  // namespace rivode::platform

#pragma GCC visibility pop

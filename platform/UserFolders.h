// The user's named folders (downloads, documents, ...) as the desktop names them: in
// $XDG_CONFIG_HOME/user-dirs.dirs, which desktop sessions write but do not export.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#pragma GCC visibility push(default)

namespace rivode::platform {

// The user's folders. One object reads the desktop's file at most once, for all the names asked
// of it: a folder with a fallback asks for two, for every session that lacks its own.
class UserFolders {
public:
    // The folder of the assignment name ("XDG_DOWNLOAD_DIR"): the environment variable when it
    // holds an absolute path (an explicit choice for this process), else the file's last
    // assignment of that name. nullopt when neither names one, and when the folder is the home
    // folder itself, which the desktop's tools write for a folder the user disabled.
    std::optional<std::string> Get(std::string_view name);

private:
    std::optional<std::string> text_;  // the file's text once read
    std::string home_;
};

// The folder text assigns to name, read by the file's rules: lines name="$HOME/path" or
// name="/path" (backslash escapes the next character), blanks around the parts and lines
// starting with '#' allowed; any other line is ignored and the last assignment wins. "$HOME" is
// replaced by home. nullopt when no line assigns name.
std::optional<std::string> ParseUserFolder(std::string_view text, std::string_view name,
                                           const std::string& home);

}  // namespace rivode::platform

#pragma GCC visibility pop

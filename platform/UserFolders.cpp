#include "platform/UserFolders.h"

#include "platform/Environment.h"
#include "platform/SmallFile.h"

namespace rivode::platform {
namespace {

// The desktop's tool writes a few hundred bytes; anything far larger is not its file.
constexpr std::size_t kMaxUserDirsBytes = 64 * 1024;

void SkipBlanks(std::string_view& text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
}

bool Consume(std::string_view& text, std::string_view expected) {
    if (text.substr(0, expected.size()) != expected) {
        return false;
    }
    text.remove_prefix(expected.size());
    return true;
}

// The folder one line assigns to name; nullopt when the line is not such an assignment.
std::optional<std::string> ParseLine(std::string_view line, std::string_view name,
                                     const std::string& home) {
    SkipBlanks(line);
    if (!Consume(line, name)) {
        return std::nullopt;
    }
    SkipBlanks(line);
    if (!Consume(line, "=")) {
        return std::nullopt;
    }
    SkipBlanks(line);
    if (!Consume(line, "\"")) {
        return std::nullopt;
    }
    std::string folder;
    if (Consume(line, "$HOME")) {
        if (line.empty() || (line.front() != '/' && line.front() != '"')) {
            return std::nullopt;  // "$HOMEWORK" is not the home folder
        }
        folder = home;
    } else if (line.empty() || line.front() != '/') {
        return std::nullopt;  // only absolute folders and folders below home are meant
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            return folder;
        }
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
        }
        folder += line[i];
    }
    return std::nullopt;  // no closing quote
}

std::string WithoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

}  // namespace

std::optional<std::string> ParseUserFolder(std::string_view text, std::string_view name,
                                           const std::string& home) {
    std::optional<std::string> folder;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (std::optional<std::string> assigned = ParseLine(line, name, home)) {
            folder = std::move(assigned);
        }
    }
    return folder;
}

std::optional<std::string> UserFolders::Get(std::string_view name) {
    const std::string variable(name);
    if (const std::optional<std::string> exported = GetEnvironmentVariable(variable.c_str());
        exported && !exported->empty() && exported->front() == '/') {
        return exported;
    }
    if (!text_) {
        home_ = GetHomeFolder();
        text_ = ReadSmallFile(GetUserConfigFolder() + "/user-dirs.dirs", kMaxUserDirsBytes);
    }
    const std::optional<std::string> folder = ParseUserFolder(*text_, name, home_);
    if (!folder || WithoutTrailingSlashes(*folder) == WithoutTrailingSlashes(home_)) {
        return std::nullopt;
    }
    return folder;
}

}  // namespace rivode::platform

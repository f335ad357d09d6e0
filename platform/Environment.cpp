#include "platform/Environment.h"

#include <dlfcn.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <vector>

namespace rivode::platform {
namespace {

// A real folder (not a link) of the current user that nobody else may enter.
bool IsPrivateFolder(const std::string& folder) {
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

std::string AbsoluteVariableOr(const char* name, const std::string& fallback) {
    const std::optional<std::string> value = GetEnvironmentVariable(name);
    if (value && !value->empty() && (*value)[0] == '/') {
        return *value;
    }
    return fallback;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string ReadLink(const char* path) {
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink(path, buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
        return {};
    }
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace

std::optional<std::string> GetEnvironmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::string GetHomeFolder() {
    if (const std::optional<std::string> home = GetEnvironmentVariable("HOME");
        home && !home->empty()) {
        return *home;
    }
    std::vector<char> buffer(16384);
    passwd entry;
    passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 &&
        result != nullptr && result->pw_dir != nullptr) {
        return result->pw_dir;
    }
    return "/";
}

std::string GetUserConfigFolder() {
    return AbsoluteVariableOr("XDG_CONFIG_HOME", GetHomeFolder() + "/.config");
}

std::string GetUserDataFolder() {
    return AbsoluteVariableOr("XDG_DATA_HOME", GetHomeFolder() + "/.local/share");
}

std::string GetUserRuntimeFolder() {
    std::string folder = AbsoluteVariableOr("XDG_RUNTIME_DIR", {});
    if (!folder.empty()) {
        return folder;
    }
    folder = "/tmp/yarrowby-runtime-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    if (IsPrivateFolder(folder)) {
        return folder;
    }
    // Anyone may create that name in /tmp first; the lock files and shared objects that live in
    // the runtime folder must not be reachable by another user, so fall back to the home folder.
    folder = GetHomeFolder() + "/.cache";
    ::mkdir(folder.c_str(), 0700);
    folder += "/yarrowby-runtime";
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

unsigned GetUserId() {
    return static_cast<unsigned>(::getuid());
}

std::string GetInstallFolder() {
    // The library does not move while it is loaded, and every path value of every record asks
    // for this folder: resolve it once.
    static const std::string folder = [] {
        Dl_info info{};
        if (::dladdr(reinterpret_cast<const void*>(&GetInstallFolder), &info) != 0 &&
            info.dli_fname != nullptr) {
            char resolved[PATH_MAX];
            if (::realpath(info.dli_fname, resolved) != nullptr) {
                return FolderOf(resolved);
            }
        }
        return GetExecutableFolder();
    }();
    return folder;
}

std::string GetExecutableFolder() {
    const std::string self = ReadLink("/proc/self/exe");
    return self.empty() ? std::string(".") : FolderOf(self);
}

std::string GetExecutableName() {
    const std::string self = ReadLink("/proc/self/exe");
    const std::size_t slash = self.find_last_of('/');
    return slash == std::string::npos ? self : self.substr(slash + 1);
}

std::string GetMessageLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const std::optional<std::string> value = GetEnvironmentVariable(name);
            value && !value->empty()) {
            return *value;
        }
    }
    return {};
}

}  // namespace rivode::platform

#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

namespace rivode::platform {

namespace {

// dlerror() reports the last failure of any dl* call in this thread and clears it when read,
// so it is read right after the failing call.
std::string LastLoaderError() {
    const char* text = ::dlerror();
    return text != nullptr ? text : "unknown dynamic loader error";
}

}  // namespace

int GetLibraryFileFacts(const std::string& path, LibraryFileFacts& facts) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return errno;
    }
    facts.regularFile = S_ISREG(status.st_mode);
    facts.writableByOthers = (status.st_mode & S_IWOTH) != 0;
    return 0;
}

void* OpenDynamicLibrary(const std::string& path, std::string& error) {
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        error = LastLoaderError();
    }
    return library;
}

void* FindDynamicSymbol(void* library, const char* name, std::string& error) {
    ::dlerror();
    void* symbol = ::dlsym(library, name);
    if (symbol == nullptr) {
        error = LastLoaderError();
    }
    return symbol;
}

void CloseDynamicLibrary(void* library) {
    if (library != nullptr) {
        ::dlclose(library);
    }
}

std::string GetBinaryFolder(const void* address) {
    Dl_info info{};
    if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    char resolved[PATH_MAX];
    const std::string path =
        ::realpath(info.dli_fname, resolved) != nullptr ? resolved : info.dli_fname;
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace rivode::platform

// Loading shared libraries at run time (protocol modules) and finding where a loaded binary
// lives.
#pragma once

#include <string>

#pragma GCC visibility push(default)

namespace rivode::platform {

// What the code-integrity check of a library file looks at: the file itself after following
// symbolic links, as the loader will open it.
struct LibraryFileFacts {
    bool regularFile = false;
    bool writableByOthers = false;  // anyone outside the owner and the group may change it
};
// 0, or the errno value of the failure (ENOENT when nothing is there).
int GetLibraryFileFacts(const std::string& path, LibraryFileFacts& facts);

// Opens the shared library at path, resolving all its symbols now so that a module missing a
// dependency fails here rather than at its first call. nullptr with the loader's explanation
// in error. Each successful open must be matched by one CloseDynamicLibrary.
void* OpenDynamicLibrary(const std::string& path, std::string& error);
// The address of an exported symbol; nullptr with the loader's explanation in error.
void* FindDynamicSymbol(void* library, const char* name, std::string& error);
void CloseDynamicLibrary(void* library);

// The folder of the executable or shared library holding address (code or data of a loaded
// binary), without a trailing '/'; empty when no loaded binary holds it.
std::string GetBinaryFolder(const void* address);

}  // namespace rivode::platform

#pragma GCC visibility pop

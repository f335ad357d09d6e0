// The INI folder store's view of the folder tree: key names checked and mapped onto native
// paths, path components found without regard to case, folders created with their parents and
// removed with their content. Every operation goes through rivode::platform::FileSystem and
// returns 0 or an errno value.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <string>
#include <string_view>
#include <vector>

namespace rivode::storage {

inline constexpr std::string_view kValueFileExtension = ".ini";

// The part of path after its last '/' (all of it when there is none).
inline std::string_view LastPathComponent(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return path.substr(slash == std::string_view::npos ? 0 : slash + 1);
}

// Whether anything (folder or file) exists at path.
bool Exists(const std::string& path);

// Splits a key path ("Sessions\Work\Server 1") into its components; leading, trailing and
// doubled backslashes are not components. 0, or EINVAL when a component cannot be a file name
// here ("." or "..", or holding '/' or NUL).
int SplitKeyPath(std::u16string_view keyPath, std::vector<std::string>& components);

// parent + "/" + the existing spelling of component: the exact name when a folder or value
// file of that name exists, else an entry of parent that equals it (as a folder, or as a value
// file with the extension) without regard to case, else component as given.
std::string ResolveComponent(const std::string& parent, const std::string& component);

// path with the components after its first resolvedLength characters spelled as on disk: path
// itself when it exists as a folder or as a value file, else each component as
// ResolveComponent finds it.
std::string ResolveKeyPathTail(const std::string& path, std::size_t resolvedLength);

// The value file of the key folder keyPath: keyPath + ".ini" when that exists, else a file in
// the same folder whose name equals it without regard to case, else keyPath + ".ini".
std::string ResolveValueFile(const std::string& keyPath);

// Creates path and any missing parents with mode. An existing folder succeeds; an existing
// file fails with EEXIST; an empty path fails with ENOENT.
// created, when given, receives the folders this call made, the outermost first.
int CreateFolderWithParents(const std::string& path, unsigned mode,
                            std::vector<std::string>* created = nullptr);

// Removes path with everything in it, stopping at the first item that cannot be removed. A
// missing folder counts as removed. Symbolic links are removed, never followed.
int RemoveFolderTree(const std::string& path);

}  // namespace rivode::storage

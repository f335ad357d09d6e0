#include "storage/ini/IniFolderTree.h"

#include "platform/FileSystem.h"

#include <cerrno>

namespace rivode::storage {
namespace {

using rivode::platform::FileInfo;
using rivode::platform::FileSystem;
using rivode::platform::FolderEntry;

bool EqualsNoCaseUtf8(const std::string& a, std::u16string_view b) {
    return EqualsNoCase(FromUtf8(a), b);
}

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

bool Exists(const std::string& path) {
    FileInfo info;
    return FileSystem::Current().GetFileInfo(path, info) == 0 && info.exists;
}

int SplitKeyPath(std::u16string_view keyPath, std::vector<std::string>& components) {
    components.clear();
    std::size_t start = 0;
    while (start <= keyPath.size()) {
        std::size_t end = keyPath.find(u'\\', start);
        if (end == std::u16string_view::npos) {
            end = keyPath.size();
        }
        const std::u16string_view component = keyPath.substr(start, end - start);
        start = end + 1;
        if (component.empty()) {
            continue;
        }
        if (component == u"." || component == u".." ||
            component.find_first_of(std::u16string_view(u"/\0", 2)) != std::u16string_view::npos) {
            return EINVAL;
        }
        components.push_back(ToUtf8(component));
    }
    return 0;
}

std::string ResolveComponent(const std::string& parent, const std::string& component) {
    std::string path = parent;
    path += '/';
    const std::size_t nameStart = path.size();
    path += component;
    if (Exists(path)) {
        return path;
    }
    std::string valueFile = path;
    valueFile += kValueFileExtension;
    if (Exists(valueFile)) {
        return path;
    }
    std::vector<FolderEntry> entries;
    if (FileSystem::Current().ListFolder(parent, entries) != 0) {
        return path;
    }
    const YUnicodeString wanted = FromUtf8(component);
    const std::u16string_view extension = u".ini";
    const FolderEntry* fileMatch = nullptr;
    for (const FolderEntry& entry : entries) {
        if (entry.isFolder && EqualsNoCaseUtf8(entry.name, wanted)) {
            path.replace(nameStart, std::string::npos, entry.name);
            return path;
        }
        if (!entry.isFolder && fileMatch == nullptr &&
            entry.name.size() == component.size() + kValueFileExtension.size()) {
            const YUnicodeString name = FromUtf8(entry.name);
            if (name.size() > extension.size() && EndsWithNoCase(name, extension) &&
                EqualsNoCase(std::u16string_view(name).substr(0, name.size() - extension.size()),
                             wanted)) {
                fileMatch = &entry;
            }
        }
    }
    if (fileMatch != nullptr) {
        path.replace(
            nameStart, std::string::npos,
            fileMatch->name.substr(0, fileMatch->name.size() - kValueFileExtension.size()));
    }
    return path;
}

std::string ResolveKeyPathTail(const std::string& path, std::size_t resolvedLength) {
    if (Exists(path) || Exists(path + std::string(kValueFileExtension))) {
        return path;
    }
    std::string resolved = path.substr(0, resolvedLength);
    std::size_t start = resolvedLength;
    while (start < path.size()) {
        if (path[start] == '/') {
            ++start;
            continue;
        }
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        resolved = ResolveComponent(resolved, path.substr(start, end - start));
        start = end;
    }
    return resolved;
}

std::string ResolveValueFile(const std::string& keyPath) {
    std::string exact = keyPath;
    exact += kValueFileExtension;
    FileInfo info;
    if (FileSystem::Current().GetFileInfo(exact, info) == 0 && info.exists) {
        return exact;
    }
    const std::size_t slash = keyPath.find_last_of('/');
    if (slash == std::string::npos) {
        return exact;
    }
    const std::string parent = slash == 0 ? std::string("/") : keyPath.substr(0, slash);
    std::vector<FolderEntry> entries;
    if (FileSystem::Current().ListFolder(parent, entries) != 0) {
        return exact;
    }
    const YUnicodeString wanted = FromUtf8(std::string_view(exact).substr(slash + 1));
    for (const FolderEntry& entry : entries) {
        if (!entry.isFolder && EqualsNoCaseUtf8(entry.name, wanted)) {
            return exact.substr(0, slash + 1) + entry.name;
        }
    }
    return exact;
}

int CreateFolderWithParents(const std::string& path, unsigned mode,
                            std::vector<std::string>* created) {
    if (path.empty()) {
        return ENOENT;
    }
    FileSystem& fileSystem = FileSystem::Current();
    int error = fileSystem.CreateFolder(path, mode);
    if (error == ENOENT) {
        const std::string parent = ParentOf(path);
        if (parent.empty() || parent == path) {
            return ENOENT;
        }
        error = CreateFolderWithParents(parent, mode, created);
        if (error != 0) {
            return error;
        }
        error = fileSystem.CreateFolder(path, mode);
    }
    if (error == 0 && created != nullptr) {
        created->push_back(path);
    }
    if (error == EEXIST) {
        FileInfo info;
        if (fileSystem.GetFileInfo(path, info) == 0 && info.exists && info.isFolder) {
            return 0;
        }
    }
    return error;
}

int RemoveFolderTree(const std::string& path) {
    FileSystem& fileSystem = FileSystem::Current();
    std::vector<FolderEntry> entries;
    int error = fileSystem.ListFolder(path, entries);
    if (error == ENOENT) {
        return 0;
    }
    if (error == ENOTDIR) {
        // A missing parent is a missing folder; a file in the folder's place is not removed.
        FileInfo info;
        return fileSystem.GetFileInfo(path, info) == 0 && !info.exists ? 0 : error;
    }
    if (error != 0) {
        return error;
    }
    for (const FolderEntry& entry : entries) {
        const std::string child = path + '/' + entry.name;
        // Unlinking first removes a link to a folder without touching what it points to; a
        // real folder refuses (EISDIR) and is emptied instead.
        error = fileSystem.DeleteFile(child);
        if (error != 0 && entry.isFolder && (error == EISDIR || error == EPERM)) {
            error = RemoveFolderTree(child);
        }
        if (error != 0 && error != ENOENT) {
            return error;
        }
    }
    error = fileSystem.RemoveFolder(path);
    return error == ENOENT ? 0 : error;
}

}  // namespace rivode::storage

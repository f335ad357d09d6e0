#include "storage/ini/IniFolderNames.h"

#include "storage/ini/IniFolderTree.h"

#include "platform/FileSystem.h"

#include <vector>

namespace rivode::storage {

const std::string* IniFolderNames::FindFolder(std::string_view name) {
    Load();
    return Find(folders_, name);
}

const std::string* IniFolderNames::FindValueFile(std::string_view baseName) {
    Load();
    return Find(valueFiles_, baseName);
}

std::string IniFolderNames::ResolveSubKey(std::string_view component) {
    std::string path = folder_ + '/';
    path += component;
    if (Exists(path) || Exists(path + std::string(kValueFileExtension))) {
        return path;
    }
    if (const std::string* spelled = FindFolder(component)) {
        return folder_ + '/' + *spelled;
    }
    if (const std::string* file = FindValueFile(component)) {
        return folder_ + '/' + file->substr(0, file->size() - kValueFileExtension.size());
    }
    return path;
}

std::string IniFolderNames::ResolveValueFile(std::string_view baseName) {
    std::string path = folder_ + '/';
    path += baseName;
    path += kValueFileExtension;
    if (Exists(path)) {
        return path;
    }
    // The file keeps its own spelling of the extension too: "Work.INI" is read and rewritten
    // as such, never shadowed by a new "Work.ini".
    if (const std::string* file = FindValueFile(baseName)) {
        return folder_ + '/' + *file;
    }
    return path;
}

void IniFolderNames::AddFolder(const std::string& name) {
    if (loaded_) {
        folders_.try_emplace(ToUpperSimple(FromUtf8(name)), name);
    }
}

void IniFolderNames::AddValueFile(const std::string& baseName) {
    if (loaded_) {
        valueFiles_.try_emplace(ToUpperSimple(FromUtf8(baseName)),
                                baseName + std::string(kValueFileExtension));
    }
}

const std::string* IniFolderNames::Find(const Names& names, std::string_view name) {
    const auto found = names.find(ToUpperSimple(FromUtf8(name)));
    return found == names.end() ? nullptr : &found->second;
}

void IniFolderNames::Load() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    std::vector<platform::FolderEntry> entries;
    if (platform::FileSystem::Current().ListFolder(folder_, entries) != 0) {
        return;  // a folder that cannot be listed holds nothing to match
    }
    const std::size_t extension = kValueFileExtension.size();
    for (const platform::FolderEntry& entry : entries) {
        if (entry.isFolder) {
            // The first spelling found stands, as when the folder is searched entry by entry.
            folders_.try_emplace(ToUpperSimple(FromUtf8(entry.name)), entry.name);
            continue;
        }
        if (entry.name.size() <= extension ||
            !EqualsNoCase(
                FromUtf8(std::string_view(entry.name).substr(entry.name.size() - extension)),
                u".ini")) {
            continue;
        }
        const std::string baseName = entry.name.substr(0, entry.name.size() - extension);
        valueFiles_.try_emplace(ToUpperSimple(FromUtf8(baseName)), entry.name);
    }
}

}  // namespace rivode::storage

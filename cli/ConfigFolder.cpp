#include "cli/ConfigFolder.h"

#include "platform/FileSystem.h"

#include <DavaraZE/YwsPaths.h>

#include <RivodeRavudaVU/YUnicodeString.h>

namespace rivode::cli {

std::string DefaultConfigFolder() {
    return ToUtf8(GetDefaultConfigFolder());
}

bool NormaliseFolderArgument(std::string_view text, std::string& path, std::string& problem) {
    YUnicodeString ignored;
    if (text.empty()) {
        problem = "a folder path cannot be empty";
        return false;
    }
    if (!FromUtf8Strict(text, ignored)) {
        problem = "the folder path \"" + std::string(text) + "\" is not valid UTF-8 text";
        return false;
    }
    // The store appends ".ini" to the folder's path for the root key's values, so a trailing
    // separator would put that file inside the folder.
    while (text.size() > 1 && text.back() == '/') {
        text.remove_suffix(1);
    }
    path.assign(text);
    return true;
}

FolderState InspectFolder(const std::string& path) {
    platform::FileInfo info;
    if (platform::FileSystem::Current().GetFileInfo(path, info) != 0) {
        return FolderState::Unreadable;
    }
    if (!info.exists) {
        return FolderState::Missing;
    }
    return info.isFolder ? FolderState::Folder : FolderState::NotAFolder;
}

const char* DescribeFolderState(FolderState state) {
    switch (state) {
        case FolderState::Missing:
            return "does not exist";
        case FolderState::Folder:
            return "exists";
        case FolderState::NotAFolder:
            return "is not a folder";
        default:
            return "cannot be examined";
    }
}

}  // namespace rivode::cli

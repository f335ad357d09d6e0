#include <RivodeRavudaVU/YProfilePath.h>

#include <DavaraZE/YwsPaths.h>

#include <mutex>
#include <set>

namespace {

// The sets are few (one per mode and folder configuration), so each is made once and kept.
const ProfilePath::Folders* LastingFolders(const ProfilePath::Folders& folders) {
    static std::mutex guard;
    static auto* kept = new std::set<ProfilePath::Folders>;
    const std::lock_guard lock(guard);
    return &*kept->insert(folders).first;
}

// The folders of mode's variables, the others empty.
const ProfilePath::Folders* SelectedFolders(const ProfilePath::Folders& folders, unsigned mode) {
    ProfilePath::Folders selected;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        if ((mode & (1u << i)) != 0) {
            selected[i] = folders[i];
        }
    }
    return LastingFolders(selected);
}

const ProfilePath::Folders* KnownFolders(unsigned mode) {
    ProfilePath::Folders folders;
    using Getter = YUnicodeString (*)();
    constexpr Getter kGetters[] = {GetYwsConfigPathSub, GetYwsInstallPathSub, GetYwsUserDataPathSub,
                                   GetYwsSshDataPathSub};
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if ((mode & (1u << i)) != 0) {
            folders[i] = kGetters[i]();
        }
    }
    return LastingFolders(folders);
}

bool IsSeparator(char16_t c) {
    return c == u'/' || c == u'\\';
}

// A folder given with a trailing separator still matches at its own end.
std::u16string_view WithoutTrailingSeparator(std::u16string_view folder) {
    while (folder.size() > 1 && IsSeparator(folder.back())) {
        folder.remove_suffix(1);
    }
    return folder;
}

}  // namespace

ProfilePath::ProfilePath(unsigned mode) : folders_(KnownFolders(mode)) {}

ProfilePath::ProfilePath(YUnicodeString name, const YUnicodeString& defaultValue, unsigned mode)
    : YProfile2(std::move(name), defaultValue), folders_(KnownFolders(mode)) {
    ResetTo(Expand(defaultValue));
}

ProfilePath::ProfilePath(const Folders& folders, unsigned mode)
    : folders_(SelectedFolders(folders, mode)) {}

bool ProfilePath::Init(const YProfileKey* key, YUnicodeString name,
                       const YUnicodeString& defaultValue) {
    return YProfile2::Init(key, std::move(name), Expand(defaultValue));
}

bool ProfilePath::Init(const YProfileKey* key, YLastingName name,
                       const YUnicodeString& defaultValue) {
    return YProfile2::Init(key, name, Expand(defaultValue));
}

YUnicodeString ProfilePath::Substitute(std::u16string_view path) const {
    std::size_t best = folders_->size();
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < folders_->size(); ++i) {
        const std::u16string_view folder = WithoutTrailingSeparator((*folders_)[i]);
        if (folder.empty() || folder.size() <= bestLength ||
            !rivode::StartsWithNoCase(path, folder)) {
            continue;
        }
        // "/data/Config2" does not lie in "/data/Config".
        if (path.size() > folder.size() && !IsSeparator(path[folder.size()]) &&
            !IsSeparator(folder.back())) {
            continue;
        }
        best = i;
        bestLength = folder.size();
    }
    if (best == folders_->size()) {
        return YUnicodeString(path);
    }
    YUnicodeString stored(kVariables[best]);
    stored += path.substr(bestLength);
    return stored;
}

YUnicodeString ProfilePath::Expand(std::u16string_view stored) const {
    for (std::size_t i = 0; i < kVariables.size(); ++i) {
        if (!(*folders_)[i].empty() && rivode::StartsWithNoCase(stored, kVariables[i])) {
            YUnicodeString path(WithoutTrailingSeparator((*folders_)[i]));
            path += stored.substr(kVariables[i].size());
            return path;
        }
    }
    return YUnicodeString(stored);
}

bool ProfilePath::ReadSz(const YProfileKey& key, YUnicodeString& value) const {
    YUnicodeString stored;
    if (!YProfile2::ReadSz(key, stored)) {
        return false;
    }
    value = Expand(stored);
    return true;
}

bool ProfilePath::WriteSz(const YProfileKey& key, const YUnicodeString& value) const {
    return YProfile2::WriteSz(key, Substitute(value));
}

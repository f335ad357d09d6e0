// ProfilePath: a file or folder path stored as a string with path variables, so that a
// configuration keeps working when its folders move.
//
// When constructed it takes the four known folders (include/DavaraZE/YwsPaths.h) selected by its
// mode. Saving stores a path that begins with one of them (case ignored, at a separator or the
// end of the path) with that beginning replaced by the folder's variable; the longest matching
// folder wins. Reading expands a leading variable back to the folder, so the value always holds
// the path itself. Paths outside the folders, and variables whose folder is unknown (empty),
// pass unchanged.
#pragma once

#include <RivodeRavudaVU/YProfile2.h>

#include <array>
#include <memory>
#include <string_view>

#pragma GCC visibility push(default)

class ProfilePath : public YProfile2<YUnicodeString, YProfileSz> {
public:
    // The folders a path may be stored relative to, by variable.
    enum Folder : unsigned {
        ConfigFolder = 1u << 0,    // "${YWS_CONFIG_PATH}"
        InstallFolder = 1u << 1,   // "${YWS_INSTALL_PATH}"
        UserDataFolder = 1u << 2,  // "${YWS_USER_DATA_PATH}"
        SshDataFolder = 1u << 3,   // "${YWS_SSH_DATA_PATH}"
        AllFolders = ConfigFolder | InstallFolder | UserDataFolder | SshDataFolder,
        NoFolders = 0,
    };
    // The folders behind the variables, in the order of Folder; empty when unknown.
    using Folders = std::array<YUnicodeString, 4>;

    // mode: the Folder bits to consider; the folders come from the companion library.
    explicit ProfilePath(unsigned mode = AllFolders);
    ProfilePath(YUnicodeString name, const YUnicodeString& defaultValue,
                unsigned mode = AllFolders);
    // With folders given by the caller instead of the companion library.
    ProfilePath(const Folders& folders, unsigned mode);
    ProfilePath(const ProfilePath&) = default;
    using YProfile2::operator=;

    // As the typed-value Init, with the default expanded first.
    bool Init(const YProfileKey* key, YUnicodeString name, const YUnicodeString& defaultValue);
    // The same with a lasting name, as record tables give it: no name is looked up or copied.
    bool Init(const YProfileKey* key, YLastingName name, const YUnicodeString& defaultValue);

    // The stored form of path, and the path of a stored form.
    YUnicodeString Substitute(std::u16string_view path) const;
    YUnicodeString Expand(std::u16string_view stored) const;

    static constexpr std::array<std::u16string_view, 4> kVariables = {
        u"${YWS_CONFIG_PATH}", u"${YWS_INSTALL_PATH}", u"${YWS_USER_DATA_PATH}",
        u"${YWS_SSH_DATA_PATH}"};

    bool ReadSz(const YProfileKey& key, YUnicodeString& value) const override;
    bool WriteSz(const YProfileKey& key, const YUnicodeString& value) const override;

private:
    // Never changed once made and kept until the process ends: every value with the same
    // folders (every session record holds several values) shares one set.
    const Folders* folders_;
};

#pragma GCC visibility pop

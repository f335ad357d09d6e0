// The names in one key folder, matched without regard to case, for resolving the spelling of
// its subkeys. A key shares its listing with the subkeys it opens, so opening or creating
// thousands of subkeys of one key lists the folder once instead of once per subkey (which made
// creating sessions in bulk grow with the square of their number).
//
// The listing is taken when first needed and then kept up to date with the folders and value
// files the subkeys create themselves; like a key's values, it does not see what other key
// objects or processes create after it was taken. One thread at a time.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <string>
#include <string_view>
#include <unordered_map>

namespace rivode::storage {

class IniFolderNames {
public:
    explicit IniFolderNames(std::string folder) : folder_(std::move(folder)) {}

    // The on-disk name of a subfolder, or of the value file of baseName (extension included,
    // spelled as on disk: "Work.INI"), equal without regard to case; nullptr when there is none.
    const std::string* FindFolder(std::string_view name);
    const std::string* FindValueFile(std::string_view baseName);

    // The path of the subkey component: as named when a folder or value file of that exact name
    // exists, else as spelled on disk, else (a new subkey) as named.
    std::string ResolveSubKey(std::string_view component);
    // The value file of the subkey baseName, found the same way.
    std::string ResolveValueFile(std::string_view baseName);

    // Records what a subkey created, once the listing has been taken.
    void AddFolder(const std::string& name);
    void AddValueFile(const std::string& baseName);

private:
    using Names = std::unordered_map<YUnicodeString, std::string>;
    void Load();
    static const std::string* Find(const Names& names, std::string_view name);

    std::string folder_;
    bool loaded_ = false;
    Names folders_;     // upper-cased name -> spelling
    Names valueFiles_;  // upper-cased base name -> the file's name as on disk
};

}  // namespace rivode::storage

// The subkey operations of an INI folder store key: a subkey is a folder and a value file
// beside it, under the main folder and, when one is set, under the personal-data folder.

#include "storage/ini/YIniFileKey.h"

#include "storage/ini/IniFolderTree.h"
#include "storage/ini/YIniFileKeyIterator.h"

#include <cerrno>

using rivode::platform::FileInfo;
using rivode::platform::FileSystem;

namespace {

std::string ResolveKeyPath(std::string path, const std::vector<std::string>& components) {
    for (const std::string& component : components) {
        path = rivode::storage::ResolveComponent(path, component);
    }
    return path;
}

int RemoveKeyAt(const std::string& path) {
    if (const int error = rivode::storage::RemoveFolderTree(path)) {
        return error;
    }
    const int error = FileSystem::Current().DeleteFile(rivode::storage::ResolveValueFile(path));
    return error == ENOENT ? 0 : error;
}

}  // namespace

std::unique_ptr<YProfilePrivateKey> YIniFileKey::OpenPrivateSubKey(std::u16string_view name,
                                                                   const YAccessControl* access,
                                                                   bool create) {
    if (refused_) {
        return MakeRefused(status_.GetMessageId(), readOnly_);
    }
    std::vector<std::string> components;
    if (const int error = rivode::storage::SplitKeyPath(name, components)) {
        return MakeRefused(error, readOnly_);
    }
    if (components.size() == 1) {
        // A direct subkey resolves its name against this key's folder listings, which all the
        // subkeys opened here share.
        if (!subKeys_.main) {
            subKeys_.main = std::make_shared<rivode::storage::IniFolderNames>(GetMainPath());
        }
        std::string personalPath;
        if (!personalPath_.empty()) {
            if (!subKeys_.personal) {
                subKeys_.personal =
                    std::make_shared<rivode::storage::IniFolderNames>(personalPath_);
            }
            personalPath = subKeys_.personal->ResolveSubKey(components.front());
        }
        std::string mainPath = mainPath_ + '/' + components.front();
        return std::make_unique<YIniFileKey>(std::move(mainPath), std::move(personalPath),
                                             readOnly_, access, create, mainPath_.size(), subKeys_);
    }
    std::string personalPath =
        personalPath_.empty() ? std::string() : ResolveKeyPath(personalPath_, components);
    // The subkey's own components are matched against the disk only when it first needs its
    // files: most keys opened exist exactly as named.
    std::string mainPath = mainPath_;
    for (const std::string& component : components) {
        mainPath += '/';
        mainPath += component;
    }
    return std::make_unique<YIniFileKey>(std::move(mainPath), std::move(personalPath), readOnly_,
                                         access, create, resolvedLength_);
}

bool YIniFileKey::DeleteSubKey(std::u16string_view name) {
    if (refused_) {
        return false;
    }
    if (readOnly_) {
        return Fail(EACCES);
    }
    std::vector<std::string> components;
    if (const int error = rivode::storage::SplitKeyPath(name, components)) {
        return Fail(error);
    }
    if (components.empty()) {
        return Fail(EINVAL);  // an empty name would be this key itself
    }
    bool removed = true;
    if (const int error = RemoveKeyAt(ResolveKeyPath(GetMainPath(), components))) {
        removed = Fail(error);
    }
    if (!personalPath_.empty()) {
        if (const int error = RemoveKeyAt(ResolveKeyPath(personalPath_, components))) {
            removed = Fail(error);
        }
    }
    return removed;
}

bool YIniFileKey::SubKeyExists(std::u16string_view name) {
    if (refused_) {
        return false;
    }
    std::vector<std::string> components;
    if (rivode::storage::SplitKeyPath(name, components) != 0 || components.empty()) {
        return false;
    }
    const std::string path = ResolveKeyPath(GetMainPath(), components);
    FileInfo info;
    FileSystem& fileSystem = FileSystem::Current();
    if (fileSystem.GetFileInfo(path, info) == 0 && info.exists && info.isFolder) {
        return true;
    }
    // An empty value file is what a save killed before its first byte leaves: no key.
    return fileSystem.GetFileInfo(rivode::storage::ResolveValueFile(path), info) == 0 &&
           info.exists && !info.isFolder && info.size > 0;
}

bool YIniFileKey::CheckSubKeyName(std::u16string_view name,
                                  YRefPtr<YReportMessageParams>* verdict) {
    int error = 0;
    std::vector<std::string> components;
    if (refused_) {
        error = static_cast<int>(status_.GetMessageId());
    } else if ((error = rivode::storage::SplitKeyPath(name, components)) == 0 &&
               components.empty()) {
        error = EINVAL;
    }
    for (const std::string* root : {&mainPath_, &personalPath_}) {
        if (error != 0 || root->empty()) {
            continue;
        }
        std::size_t maxLength = 0;
        if (FileSystem::Current().GetMaxNameLength(*root, maxLength) != 0 || maxLength == 0) {
            continue;  // the limit is unknown: nothing to check against
        }
        // The longest name is that of the value file, the key's name plus ".ini".
        for (const std::string& component : components) {
            if (component.size() + rivode::storage::kValueFileExtension.size() > maxLength) {
                error = ENAMETOOLONG;
            }
        }
    }
    if (verdict != nullptr) {
        *verdict = MakeYRef<YReportMessageParams>();
        if (error != 0) {
            SetSystemErrorReport(**verdict, error);
        }
    }
    return error == 0;
}

void YIniFileKey::ForEachValueName(
    const std::function<void(std::u16string_view name, int kind)>& visit) {
    if (refused_) {
        return;
    }
    LoadedTable().ForEachValue([&](std::u16string_view name, const YIniFileData& value, bool) {
        visit(name, value.GetKind());
    });
}

std::uint64_t YIniFileKey::GetValueNamesShape() {
    return refused_ ? 0 : LoadedTable().GetShape();
}

std::unique_ptr<YProfilePrivateKeyIterator> YIniFileKey::CreatePrivateKeyIterator(bool values) {
    if (refused_) {
        return std::make_unique<rivode::storage::YIniFileKeyIterator>();
    }
    if (values) {
        LoadedTable();
        return rivode::storage::YIniFileKeyIterator::ListValues(table_);
    }
    return rivode::storage::YIniFileKeyIterator::ListSubKeys(GetMainPath());
}

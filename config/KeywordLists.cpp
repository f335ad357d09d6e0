// The keyword lists under "Keywords": naming, opening, saving, renaming and deleting them.
#include <RivodeRavudaVU/KeywordLists.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionNameValidation.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include "config/SessionDatabaseTree.h"

#include <DavaraZE/YMessageBox.h>

namespace msg = rivode::msg;
using rivode::config::FailWith;
using rivode::config::ListSubKeyNames;

namespace {

void NotFound(const YUnicodeString& name, YReportMessageParams& report) {
    report.SetMessage(msg::KeywordListNotFound);
    report.AddString(name);
}

// The spelling the store lists for name; nullopt when it lists none.
std::optional<YUnicodeString> StoredName(const YProfileKey& lists, const YUnicodeString& name) {
    YProfileKeyIterator iterator(lists, false);
    YUnicodeString listed;
    while (iterator.Next(listed)) {
        if (rivode::EqualsNoCase(listed, name)) {
            return listed;
        }
    }
    return std::nullopt;
}

// Writes every value of list into the key name under lists (which need not exist yet).
bool WriteList(const YProfileKey& lists, const YUnicodeString& name, HighlightConfig& list,
               bool copyAll, YReportMessageParams& report) {
    const std::unique_ptr<YProfileKey> key =
        copyAll ? std::make_unique<YProfileCopyKey>(lists, name, true)
                : std::make_unique<YProfileKey>(lists, name, true);
    if (!list.Save(*key) || !key->Flush()) {
        return FailWith(key->GetStatus(), msg::KeywordListChangeFailed, name, report);
    }
    return true;
}

}  // namespace

YStringArray GetKeywordListNames() {
    YProfileStore store(true);
    return ListSubKeyNames(YProfileKey(store.GetRootKey(), kKeywordsKeyName));
}

YRefPtr<HighlightConfig> OpenKeywordList(const YUnicodeString& name, YReportMessageParams& report,
                                         YUnicodeString* storedName) {
    YProfileStore store(true);
    const YProfileKey lists(store.GetRootKey(), kKeywordsKeyName);
    const std::optional<YUnicodeString> stored =
        name.empty() ? std::nullopt : StoredName(lists, name);
    if (!stored) {
        NotFound(name, report);
        return nullptr;
    }
    const YProfileKey key(lists, *stored);
    YRefPtr<HighlightConfig> list = CreateHighlightConfig();
    list->Load(&key);
    if (!key.GetStatus().IsSuccess()) {
        FailWith(key.GetStatus(), msg::KeywordListChangeFailed, *stored, report);
        return nullptr;
    }
    if (storedName != nullptr) {
        *storedName = *stored;
    }
    return list;
}

bool SaveKeywordList(const YUnicodeString& name, HighlightConfig& list,
                     YReportMessageParams& report) {
    YProfileStore store;
    const YProfileKey lists(store.GetRootKey(), kKeywordsKeyName, true);
    const bool exists = StoredName(lists, name).has_value();
    return WriteList(lists, name, list, !exists, report);
}

bool DeleteKeywordList(const YUnicodeString& name, YReportMessageParams& report) {
    YProfileStore store;
    const YProfileKey lists(store.GetRootKey(), kKeywordsKeyName);
    const std::optional<YUnicodeString> stored =
        name.empty() ? std::nullopt : StoredName(lists, name);
    if (!stored) {
        NotFound(name, report);
        return false;
    }
    if (!lists.DeleteSubKey(*stored)) {
        return FailWith(lists.GetStatus(), msg::KeywordListChangeFailed, *stored, report);
    }
    return true;
}

// The list is written under the new name before the old key goes, so an interruption leaves
// both, never neither. A change of letter case only passes through a free temporary name, as
// both spellings name one key.
bool RenameKeywordList(const YUnicodeString& oldName, const YUnicodeString& newName,
                       YReportMessageParams& report) {
    YUnicodeString stored;
    const YRefPtr<HighlightConfig> list = OpenKeywordList(oldName, report, &stored);
    if (!list || !ValidateKeywordListName(stored, newName, false, report)) {
        return false;
    }
    if (stored == newName) {
        return true;
    }
    const auto move = [&](const YUnicodeString& from, const YUnicodeString& to) {
        YProfileStore store;
        const YProfileKey lists(store.GetRootKey(), kKeywordsKeyName, true);
        if (!WriteList(lists, to, *list, true, report)) {
            return false;
        }
        if (!lists.DeleteSubKey(from)) {
            return FailWith(lists.GetStatus(), msg::KeywordListChangeFailed, from, report);
        }
        return true;
    };
    if (!rivode::EqualsNoCase(stored, newName)) {
        return move(stored, newName);
    }
    YUnicodeString temporary = newName + u'~';
    for (const YStringArray names = GetKeywordListNames();
         std::any_of(names.begin(), names.end(), [&](const YUnicodeString& n) {
             return rivode::EqualsNoCase(n, temporary);
         });) {
        temporary += u'~';
    }
    return move(stored, temporary) && move(temporary, newName);
}

bool ValidateKeywordListName(const YUnicodeString& oldName, const YUnicodeString& newName,
                             bool isNew, YReportMessageParams& report) {
    YProfileStore store(true);
    const YProfileKey lists(store.GetRootKey(), kKeywordsKeyName);
    const bool taken = !newName.empty() && StoredName(lists, newName).has_value();
    if (!ValidateKeyName(oldName, newName, isNew, LoadMessageString(msg::ItemKindKeywordList),
                         taken, report)) {
        return false;
    }
    YRefPtr<YReportMessageParams> verdict;
    if (!lists.CheckSubKeyName(newName, &verdict)) {
        report = verdict ? *verdict : YReportMessageParams(msg::ItemNameIllegalCharacter);
        return false;
    }
    return true;
}

bool ValidateKeywordListName(const YUnicodeString& oldName, const YUnicodeString& newName,
                             bool isNew, QWidget* parent) {
    YReportMessageParams report;
    if (ValidateKeywordListName(oldName, newName, isNew, report)) {
        return true;
    }
    YMessageBox(parent, report, YMB_ICONWARNING);
    return false;
}

YRefPtr<HighlightConfig> OpenSessionKeywordList(const ISessionConfig& session) {
    const auto* record = dynamic_cast<const SessionConfig*>(&session);
    if (record == nullptr || record->keywordSet.Get().empty()) {
        return nullptr;
    }
    YReportMessageParams ignored;
    return OpenKeywordList(record->keywordSet.Get(), ignored);
}

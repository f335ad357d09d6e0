// Migration of personal values into the personal-data folder and their merge back.
#include <RivodeRavudaVU/PersonalData.h>
#include <RivodeRavudaVU/PersonalDataDialogs.h>

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YProgressDialog.h>
#include <DavaraZE/YwsPaths.h>
#include <RivodeRavudaVU/ConfigFolders.h>
#include <RivodeRavudaVU/CredentialDatabase.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YIniFileStore.h>

#include "storage/ini/ValueFile.h"

#include <vector>

namespace msg = rivode::msg;

namespace {

constexpr std::u16string_view kSessionsKeyName = u"Sessions";
constexpr std::u16string_view kFolderDataKeyName = u"__FolderData__";
constexpr std::u16string_view kIsSessionValue = u"Is Session";

std::vector<YUnicodeString> SubKeyNames(const YProfileKey& key) {
    std::vector<YUnicodeString> names;
    YProfileKeyIterator iterator(key, false);
    YUnicodeString name;
    while (iterator.Next(name)) {
        if (!rivode::EqualsNoCase(name, kFolderDataKeyName)) {
            names.push_back(name);
        }
    }
    return names;
}

bool HasValues(const YProfileKey& key) {
    YProfileKeyIterator iterator(key, true);
    YUnicodeString name;
    return iterator.Next(name);
}

bool SyncFailed(rivode::storage::ValueFileSyncBatch& batch, YReportMessageParams& report) {
    const rivode::storage::ValueFileError error = batch.End();
    if (error.error == 0) {
        return false;
    }
    SetFileErrorReport(report, error.error, error.path);
    return true;
}

class Migration {
public:
    Migration(std::size_t& keys, YReportMessageParams& failure) : keys_(keys), failure_(failure) {}

    // Descends folders; rewrites sessions, which the store splits into their two files.
    bool Walk(const YProfileKey& key, const YUnicodeString& path,
              const std::function<void()>& step) {
        for (const YUnicodeString& name : SubKeyNames(key)) {
            const YProfileKey child(key, name);
            const YUnicodeString childPath = path + u"\\" + name;
            std::uint32_t isSession = 0;
            if (child.GetDword(kIsSessionValue, isSession)) {
                child.Rewrite();
                if (child.GetStatus().GetMessageId() != 0) {
                    YReportMessageParams cause(child.GetStatus());
                    WrapReport(failure_, msg::PersonalDataSessionFailed, {childPath}, cause);
                    return false;
                }
                ++keys_;
                step();
            } else if (!Walk(child, childPath, step)) {
                return false;
            }
        }
        return true;
    }

private:
    std::size_t& keys_;
    YReportMessageParams& failure_;
};

class Merge {
public:
    Merge(PersonalDataMoveResult& result, YReportMessageParams& failure)
        : result_(result), failure_(failure) {}

    bool Walk(const YProfileKey& personal, const YProfileKey& main,
              const std::function<void()>& step) {
        for (const YUnicodeString& name : SubKeyNames(personal)) {
            if (!main.SubKeyExists(name)) {
                ++result_.mismatched;  // kept where it is: nothing of it is lost
                continue;
            }
            bool emptied = false;
            {
                const YProfileKey personalChild(personal, name);
                YProfileKey mainChild(main, name);
                if (HasValues(personalChild) && !MoveValues(personalChild, mainChild)) {
                    return false;
                }
                step();
                if (!Walk(personalChild, mainChild, step)) {
                    return false;
                }
                emptied = !HasValues(personalChild) && SubKeyNames(personalChild).empty();
            }
            // Everything of it is in the configuration now: the personal folder keeps no
            // empty files behind.
            if (emptied && !personal.DeleteSubKey(name)) {
                return Fail(personal.GetStatus());
            }
        }
        return true;
    }

private:
    // Stored in the configuration first, then taken out of the personal key: a process that
    // dies between the two leaves the values in both places, never in neither.
    bool MoveValues(const YProfileKey& personal, YProfileKey& main) {
        if (!CopyProfileKeyValues(main, personal) || !main.Flush()) {
            return Fail(main.GetStatus());
        }
        std::vector<YUnicodeString> names;
        {
            YProfileKeyIterator values(personal, true);
            YUnicodeString name;
            while (values.Next(name)) {
                names.push_back(name);
            }
        }
        for (const YUnicodeString& name : names) {
            if (!personal.DeleteValue(name)) {
                return Fail(personal.GetStatus());
            }
        }
        if (!personal.Flush()) {
            return Fail(personal.GetStatus());
        }
        ++result_.keys;
        return true;
    }

    bool Fail(const YReportMessageParams& status) {
        YReportMessageParams cause(status);
        WrapReport(failure_, msg::PersonalDataMergeNotWritable, {YGetAppName()}, cause);
        return false;
    }

    PersonalDataMoveResult& result_;
    YReportMessageParams& failure_;
};

YUnicodeString ProgressText(std::uint32_t id) {
    YReportMessageParams text(id);
    text.AddString(YGetAppName());
    return text.GetTextTrimmed();
}

}  // namespace

bool RunPersonalDataMigration(int product, const YUnicodeString& personalFolder,
                              PersonalDataMoveResult& result, YReportMessageParams& report) {
    YReportMessageParams failure;
    bool walked = true;
    YProgressDialog progress(ProgressText(msg::MigratingPersonalData));
    YRunWithProgress(progress, [&](YProgressDialog& window) {
        YIniFileStoreFactory factory(GetYwsConfigPathSub(), personalFolder);
        YProfileStore store(&factory);
        Migration migration(result.keys, failure);
        const auto step = [&] { window.SetProgress(result.keys, 0); };
        rivode::storage::ValueFileSyncBatch batch;
        for (const std::u16string_view top : {kSessionsKeyName, kCredentialsKeyName}) {
            if (!store.GetRootKey().SubKeyExists(top)) {
                continue;
            }
            const YProfileKey key(store.GetRootKey(), top);
            if (!migration.Walk(key, YUnicodeString(top), step)) {
                walked = false;
                break;
            }
        }
        if (SyncFailed(batch, failure) && walked) {
            walked = false;
        }
    });
    if (!walked) {
        report = failure;
        return false;
    }
    return SaveDoPersonalDataMigration(false, product, true, report);
}

bool RunPersonalDataMerge(int product, const YUnicodeString& personalFolder,
                          PersonalDataMoveResult& result, YReportMessageParams& report) {
    YReportMessageParams failure;
    bool walked = true;
    YProgressDialog progress(ProgressText(msg::MergingPersonalData));
    YRunWithProgress(progress, [&](YProgressDialog& window) {
        YIniFileStoreFactory personalFactory(personalFolder);
        YProfileStore personalStore(&personalFactory);
        YIniFileStoreFactory mainFactory(GetYwsConfigPathSub());
        YProfileStore mainStore(&mainFactory);
        Merge merge(result, failure);
        std::size_t steps = 0;
        const auto step = [&] { window.SetProgress(++steps, 0); };
        rivode::storage::ValueFileSyncBatch batch;
        for (const std::u16string_view top : {kSessionsKeyName, kCredentialsKeyName}) {
            if (!personalStore.GetRootKey().SubKeyExists(top)) {
                continue;
            }
            const YProfileKey personal(personalStore.GetRootKey(), top);
            if (!mainStore.GetRootKey().SubKeyExists(top)) {
                ++result.mismatched;
                continue;
            }
            const YProfileKey main(mainStore.GetRootKey(), top);
            if (!merge.Walk(personal, main, step)) {
                walked = false;
                break;
            }
        }
        if (SyncFailed(batch, failure) && walked) {
            walked = false;
        }
    });
    if (!walked) {
        report = failure;
        return false;
    }
    if (result.mismatched != 0) {
        report.SetMessage(msg::PersonalDataMismatch);
        return false;
    }
    return SaveDoPersonalDataMerge(false, product, true, report);
}

void MigrateToPersonalDataLocation(int product) {
    if (!MergeMigratePersonalDataDialogBase(MergeMigratePersonalDataDialogBase::Migrate).Ask()) {
        return;  // postponed: the flag stays set for the next start
    }
    const YUnicodeString folder = GetAppPersonalDataPath(YGetAppName(), GetYwsConfigPathSub());
    PersonalDataMoveResult result;
    YReportMessageParams report;
    if (!RunPersonalDataMigration(product, folder, result, report)) {
        YMessageBox(report, YMB_ICONWARNING);
    }
}

void MergeFromPersonalDataLocation(int product, const YUnicodeString& personalFolder) {
    if (!MergeMigratePersonalDataDialogBase(MergeMigratePersonalDataDialogBase::Merge).Ask()) {
        return;
    }
    PersonalDataMoveResult result;
    YReportMessageParams report;
    if (!RunPersonalDataMerge(product, personalFolder, result, report)) {
        YMessageBox(report, YMB_ICONWARNING);
    }
}

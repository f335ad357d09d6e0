// Where the configuration folder is and whether personal data lives in a folder of its own.
//
// These settings live in the per-user registry (YRegistryStore.h), outside the configuration,
// under "Software\Yarrowby\<application name>" (the companion library's YGetAppName for this
// process), as the values "Config Path", "Personal Data Path", "Store Personal Data
// Separately", "Do Personal Data Migration" and "Do Personal Data Merge". An older place of
// "Config Path" is the key "Software\Yarrowby\Global".
//
// The sibling rule: when the product runs integrated (IsIntegrated), every Save writes the
// same value under the sibling application's key too, when force is set or the sibling has no
// value of that name yet, so both products keep using one configuration folder.
//
// Host start-up functions, meant for the host's thread.
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <functional>
#include <string_view>

#pragma GCC visibility push(default)

inline constexpr std::u16string_view kConfigPathValue = u"Config Path";
inline constexpr std::u16string_view kPersonalDataPathValue = u"Personal Data Path";
inline constexpr std::u16string_view kStorePersonalDataSeparatelyValue =
    u"Store Personal Data Separately";
inline constexpr std::u16string_view kDoPersonalDataMigrationValue = u"Do Personal Data Migration";
inline constexpr std::u16string_view kDoPersonalDataMergeValue = u"Do Personal Data Merge";

// "Config Path" of the application's key; empty when none is recorded.
YUnicodeString GetAppConfigPath(const YUnicodeString& appName);
// "Config Path" of the older key "Global". A value found there is also recorded for this
// application (SaveAppConfigPath without force) so that the next start finds it in its place;
// a failure to record it is not the caller's concern (the value is still returned).
YUnicodeString GetAppConfigPathAlpha(int product);
// The subfolder "Config" of the executable's folder when it holds a "global.ini" (any case);
// empty otherwise.
YUnicodeString GetAppConfigPathUnderExe(const YUnicodeString& exeFolder);
[[nodiscard]] bool SaveAppConfigPath(const YUnicodeString& path, int product, bool force,
                                     YReportMessageParams& report);

// The stored "Personal Data Path", else the default for the configuration folder.
YUnicodeString GetAppPersonalDataPath(const YUnicodeString& appName,
                                      const YUnicodeString& configFolder);
// The configuration folder + ".personal".
YUnicodeString GetAppPersonalDataPathDefault(const YUnicodeString& configFolder);
YUnicodeString GetAppPersonalDataPathStored(const YUnicodeString& appName);
[[nodiscard]] bool SaveAppPersonalDataPath(const YUnicodeString& path, int product, bool force,
                                           YReportMessageParams& report);

bool UsePersonalDataPath(const YUnicodeString& appName);
[[nodiscard]] bool SaveUsePersonalDataPath(bool value, int product, bool force,
                                           YReportMessageParams& report);
bool DoPersonalDataMigration(const YUnicodeString& appName);
[[nodiscard]] bool SaveDoPersonalDataMigration(bool value, int product, bool force,
                                               YReportMessageParams& report);
bool DoPersonalDataMerge(const YUnicodeString& appName);
[[nodiscard]] bool SaveDoPersonalDataMerge(bool value, int product, bool force,
                                           YReportMessageParams& report);

// A folder given on the host's command line (/F): trailing '/' and '\' are dropped (one right
// after ':' stays), path variables are expanded, and the result must be an existing folder.
// true with path set to it; otherwise false with 0xE1380009 naming the argument as given.
[[nodiscard]] bool CheckAppConfigPathCommandLine(const YUnicodeString& argument,
                                                 YUnicodeString& path,
                                                 YReportMessageParams& report);

// Called with the notice that the configuration moved (0x61380017, old and new folder).
using ConfigFolderNotice = std::function<void(YReportMessageParams& notice)>;

// Follows a redirect left in a moved configuration folder. An empty path, a fresh folder (no
// "*.idx" file and no key "Global") and a folder whose "Global" holds a known "Version" are
// kept: true. A folder whose "YWSRedirect" names a "New Config Path" becomes that folder: the
// notice goes to notify (when set), with save the new folder is recorded
// (SaveAppConfigPath without force), true. Anything else is an incomplete migration: the
// folder's Global.ini is moved aside (RenameGlobalConfig) and the answer is whether that
// worked. A failure to record the new folder is reported through notify as well and does not
// change the answer.
[[nodiscard]] bool CheckAppConfigPathRedirect(bool save, const ConfigFolderNotice& notify,
                                              int product, YUnicodeString& path);

#pragma GCC visibility pop

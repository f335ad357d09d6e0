// Moving personal data (user names, passwords, logon scripts: the personal values of the INI
// folder store) between the configuration folder and a personal-data folder of its own.
//
// Both work on the configuration folder in use (GetYwsConfigPathSub) and walk its "Sessions"
// and "Credentials" keys, skipping "__FolderData__" keys. Every key is rewritten through the
// store, one crash-safe save per key inside one sync batch, so a process that dies half-way
// leaves every key either as it was or moved, never torn; running the same move again finishes
// it. The work runs on a worker thread behind the companion library's progress window; neither
// can be cancelled.
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>

#pragma GCC visibility push(default)

struct PersonalDataMoveResult {
    std::size_t keys = 0;        // keys rewritten
    std::size_t mismatched = 0;  // merge: personal keys without a key in the configuration
};

// The migration: each session key (one holding "Is Session", which the INI folder store
// answers for every key with a value file, so saved credentials too) has its personal values
// moved to the same key under personalFolder. Then "Do Personal Data Migration" is saved as false
// (with force). false with the first failure in report; keys already moved stay moved.
[[nodiscard]] bool RunPersonalDataMigration(int product, const YUnicodeString& personalFolder,
                                            PersonalDataMoveResult& result,
                                            YReportMessageParams& report);

// The merge: every key of personalFolder's "Sessions" and "Credentials" has its values written
// into the same key of the configuration folder and, once that is stored, removed from the
// personal key. A personal key whose key does not exist in the configuration folder is left
// as it is and counted; the merge then fails with 0xE1380025 after doing the rest. A write
// that fails stops it with 0x6138012D (the application's name) and the cause. "Do Personal
// Data Merge" is saved as false only when everything was merged.
[[nodiscard]] bool RunPersonalDataMerge(int product, const YUnicodeString& personalFolder,
                                        PersonalDataMoveResult& result,
                                        YReportMessageParams& report);

// The start-up forms: "Personal Data Location" asks first (PersonalDataDialogs.h; Postpone
// leaves the pending flag for the next start), then the pending migration to the recorded (or
// default) personal-data folder of this application, or the merge from personalFolder, runs;
// a failure is shown to the user in a message box after the progress window closes.
void MigrateToPersonalDataLocation(int product);
void MergeFromPersonalDataLocation(int product, const YUnicodeString& personalFolder);

#pragma GCC visibility pop

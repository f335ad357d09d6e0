// What no save may do, whatever happens to it: lose a value that a completed save stored, leave
// a key half old and half new, shrink a key after a bad read, follow a link, or leave an empty
// key behind. Crashes are real kills of a child process at each call that changes a file.
#include "tests/storage/FaultyFileSystem.h"
#include "tests/storage/IniFileTestSupport.h"

#include "storage/ini/ValueFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace {

using rivode::test::FaultyFileSystem;
using rivode::test::FileCall;
using rivode::test::RunKilledAtChange;

constexpr int kValues = 300;

YUnicodeString NameOf(int index) {
    return u"Value " + rivode::FromAscii(std::to_string(index));
}

// Old content: values 0..kValues-1 as "old i"; the new content changes every value, deletes the
// last ten and adds ten more, so a torn file cannot pass for either.
std::map<YUnicodeString, YUnicodeString> Version(bool newVersion) {
    std::map<YUnicodeString, YUnicodeString> values;
    for (int i = 0; i < kValues; ++i) {
        if (!newVersion || i < kValues - 10) {
            values[NameOf(i)] = (newVersion ? u"new " : u"old ") + NameOf(i);
        }
    }
    for (int i = kValues; newVersion && i < kValues + 10; ++i) {
        values[NameOf(i)] = u"new " + NameOf(i);
    }
    // A personal value: with a personal-data folder it lives in a file of its own.
    values[u"Password"] = newVersion ? u"new secret" : u"old secret";
    return values;
}

void WriteVersion(YProfileStore& store, const char16_t* path, bool newVersion) {
    YProfileKey key(store.GetRootKey(), path);
    const auto values = Version(newVersion);
    for (int i = 0; i < kValues + 10; ++i) {
        const auto found = values.find(NameOf(i));
        (void)(found != values.end() ? key.SetString(found->first, found->second)
                                     : key.DeleteValue(NameOf(i)));
    }
    (void)key.SetString(u"Password", values.at(u"Password"));
}

std::map<YUnicodeString, YUnicodeString> ReadAll(YProfileStore& store, const char16_t* path) {
    std::map<YUnicodeString, YUnicodeString> values;
    YProfileKey key(store.GetRootKey(), path);
    for (int i = 0; i < kValues + 10; ++i) {
        if (auto text = rivode::test::StringOf(key, NameOf(i))) {
            values[NameOf(i)] = *text;
        }
    }
    if (auto text = rivode::test::StringOf(key, u"Password")) {
        values[u"Password"] = *text;
    }
    return values;
}

class IniFileCrashSafetyTest : public rivode::test::IniStoreTest {
protected:
    bool JournalLeft(const std::string& valueFile) const {
        return std::filesystem::exists(valueFile + std::string(rivode::storage::kJournalSuffix));
    }
};

TEST_F(IniFileCrashSafetyTest, KeyKilledAtAnyStepOfASaveReadsWhollyOldOrWhollyNew) {
    struct Case {
        const char* name;
        bool existsBefore;
        bool withPersonal;
    };
    for (const Case c : {Case{"existing key", true, false}, Case{"new key", false, false},
                         Case{"key with a personal file", true, true}}) {
        SCOPED_TRACE(c.name);
        const auto reset = [&] {
            std::filesystem::remove_all(MainRoot());
            std::filesystem::remove_all(PersonalRoot());
            if (c.existsBefore) {
                WriteVersion(*OpenStore(c.withPersonal), u"Sessions\\S", false);
            }
        };
        reset();
        const auto before = c.existsBefore ? Version(false) : decltype(Version(false)){};
        const auto after = Version(true);
        int killAt = 1;
        for (; killAt < 200; ++killAt) {
            const bool killed = RunKilledAtChange(killAt, [&] {
                auto store = OpenStore(c.withPersonal);
                WriteVersion(*store, u"Sessions\\S", true);
            });
            const auto seen = ReadAll(*OpenStore(c.withPersonal), u"Sessions\\S");
            // With a personal-data folder the key is two files, saved as one.
            ASSERT_TRUE(seen == before || seen == after) << "killed at change " << killAt;
            // The next save finishes or discards what the killed one left, and leaves nothing.
            {
                auto store = OpenStore(c.withPersonal);
                YProfileKey key(store->GetRootKey(), u"Sessions\\S");
                ASSERT_TRUE(key.SetString(u"Probe", u"p"));
                ASSERT_TRUE(key.Flush()) << rivode::ToUtf8(rivode::test::ReasonOf(key.GetStatus()));
            }
            EXPECT_FALSE(JournalLeft(Main("Sessions/S.ini")));
            EXPECT_EQ(ReadAll(*OpenStore(c.withPersonal), u"Sessions\\S"), seen);
            reset();
            if (!killed) {
                break;
            }
        }
        EXPECT_GT(killAt, 4);  // the save was interrupted at every step it has
        EXPECT_LT(killAt, 200);
    }
}

TEST_F(IniFileCrashSafetyTest, ProcessesSavingOneKeyKeepEachOthersValues) {
    constexpr int kProcesses = 4;
    constexpr int kSavesEach = 40;
    WriteVersion(*OpenStore(), u"Shared", false);
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0; i < kSavesEach; ++i) {
                auto store = OpenStore();
                YProfileKey key(store->GetRootKey(), u"Shared");
                YUnicodeString loaded;
                (void)key.GetString(NameOf(0), loaded);  // loads before the others save
                const std::string name = "P" + std::to_string(p) + " " + std::to_string(i);
                (void)key.SetDword(rivode::FromAscii(name), static_cast<std::uint32_t>(i));
                (void)key.DeleteValue(NameOf(p * kSavesEach + i));
                if (!key.Flush()) {
                    ::_exit(1);
                }
            }
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto store = OpenStore();
    YProfileKey key(store->GetRootKey(), u"Shared");
    for (int p = 0; p < kProcesses; ++p) {
        for (int i = 0; i < kSavesEach; ++i) {
            const std::string name = "P" + std::to_string(p) + " " + std::to_string(i);
            EXPECT_EQ(rivode::test::DwordOf(key, rivode::FromAscii(name)), std::uint32_t(i))
                << name;
        }
    }
    // Deletions are changes too, and values nobody touched stay.
    EXPECT_EQ(rivode::test::StringOf(key, NameOf(0)), std::nullopt);
    EXPECT_EQ(rivode::test::StringOf(key, NameOf(kValues - 1)), u"old " + NameOf(kValues - 1));
}

TEST_F(IniFileCrashSafetyTest, FaultsAtAnyStepLoseNothingAndReportTheFile) {
    struct Case {
        const char* name;
        std::function<void(FaultyFileSystem&)> inject;
        bool saveFails;
    };
    const Case cases[] = {
        {"reads of 7 bytes", [](auto& f) { f.shortReads = 7; }, false},
        // A failed read leaves the key unsavable rather than saved short.
        {"read",
         [](auto& f) {
             f.faults = {{FileCall::Read, 2, EIO}};
         },
         true},
        {"journal write",
         [](auto& f) {
             f.faults = {{FileCall::Write, 1, ENOSPC}};
         },
         true},
        {"in-place write",
         [](auto& f) {
             f.faults = {{FileCall::Write, 3, EIO}};
         },
         true},
        {"journal sync",
         [](auto& f) {
             f.faults = {{FileCall::Sync, 1, EIO}};
         },
         true},
        {"file sync",
         [](auto& f) {
             f.faults = {{FileCall::Sync, 2, EIO}};
         },
         true},
        {"cut",
         [](auto& f) {
             f.faults = {{FileCall::Truncate, 1, EIO}};
         },
         true},
        {"no space",
         [](auto& f) {
             f.faults = {{FileCall::Reserve, 1, ENOSPC}};
         },
         true},
        {"journal removal",
         [](auto& f) {
             f.faults = {{FileCall::Unlink, 1, EACCES}};
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(MainRoot());
        WriteVersion(*OpenStore(), u"K", false);
        {
            FaultyFileSystem faulty;
            c.inject(faulty);
            auto store = OpenStore();
            YProfileKey key(store->GetRootKey(), u"K");
            ASSERT_TRUE(key.SetString(NameOf(1), u"changed"));
            EXPECT_EQ(key.Flush(), !c.saveFails);
            if (c.saveFails) {
                const std::u16string reason = rivode::test::ReasonOf(key.GetStatus());
                EXPECT_NE(reason.find(u"K.ini"), std::u16string::npos) << rivode::ToUtf8(reason);
                EXPECT_NE(GetSystemErrorCause(key.GetStatus()), 0);
            }
        }
        auto seen = ReadAll(*OpenStore(), u"K");
        auto expected = Version(false);
        // A failure after the journal was whole may still complete the save on the next open.
        if (seen[NameOf(1)] == u"changed" || !c.saveFails) {
            expected[NameOf(1)] = u"changed";
        }
        EXPECT_EQ(seen, expected);
    }
}

TEST_F(IniFileCrashSafetyTest, HostileFilesAreRefusedWithTheirPath) {
    const std::string outside = temp_ / "outside.ini";
    struct Case {
        const char* name;
        std::function<void(const std::string& valueFile)> prepare;
    };
    const Case cases[] = {
        {"link to a file elsewhere",
         [&](const std::string& file) { std::filesystem::create_symlink(outside, file); }},
        {"link to /dev/zero",
         [](const std::string& file) { std::filesystem::create_symlink("/dev/zero", file); }},
        {"pipe", [](const std::string& file) { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }},
        {"larger than the store reads",
         [](const std::string& file) {
             rivode::test::WriteFileBytes(file, "");
             std::filesystem::resize_file(file, rivode::storage::kMaxValueFileSize + 1);
         }},
        {"journal linked elsewhere",
         [&](const std::string& file) {
             rivode::test::WriteFileBytes(file, rivode::test::kBom + "S:\"A\"=a\r\n");
             std::filesystem::create_symlink(outside, file + ".journal");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(MainRoot());
        std::filesystem::create_directories(MainRoot());
        rivode::test::WriteFileBytes(outside, "untouched");
        c.prepare(Main("K.ini"));
        auto store = OpenStore();
        YProfileKey key(store->GetRootKey(), u"K");
        ASSERT_TRUE(key.SetString(u"A", u"b"));
        EXPECT_FALSE(key.Flush());
        EXPECT_NE(rivode::test::ReasonOf(key.GetStatus()).find(u"K.ini"), std::u16string::npos);
        EXPECT_EQ(rivode::test::ReadFileBytes(outside), "untouched");
    }
}

TEST_F(IniFileCrashSafetyTest, FailedFirstSaveLeavesNoEmptyKeyAndDamagedCopiesPile) {
    {
        FaultyFileSystem faulty;
        faulty.reserveError = ENOSPC;
        auto store = OpenStore();
        YProfileKey key(store->GetRootKey(), u"Sessions\\Lab\\New");
        ASSERT_TRUE(key.SetString(u"Hostname", u"h"));
        EXPECT_FALSE(key.Flush());
    }
    EXPECT_FALSE(std::filesystem::exists(Main("Sessions")));  // the folders it made go too

    for (const char* second : {"first", "second"}) {
        WriteValueFile(Main("D.ini"), std::string("S:\"A\"=") + second + "\r\nbroken\r\n");
        auto store = OpenStore();
        YProfileKey key(store->GetRootKey(), u"D");
        ASSERT_TRUE(key.SetString(u"B", u"b"));
        ASSERT_TRUE(key.Flush());
    }
    EXPECT_NE(rivode::test::ReadFileBytes(Main("D.ini.damaged")).find("first"), std::string::npos);
    EXPECT_NE(rivode::test::ReadFileBytes(Main("D.ini.damaged-2")).find("second"),
              std::string::npos);
}

}  // namespace

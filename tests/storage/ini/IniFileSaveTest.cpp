#include "tests/storage/FaultyFileSystem.h"
#include "tests/storage/IniFileTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>

namespace {

using rivode::test::kBom;
using rivode::test::ReadFileBytes;
namespace fs = std::filesystem;

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// The value lines of a file, or nothing when there is no file.
std::optional<std::string> LinesOf(const std::string& path) {
    if (!fs::exists(path)) {
        return std::nullopt;
    }
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.substr(0, 3), kBom) << path;
    return bytes.substr(3);
}

// Where values go when a key is saved: main and personal files, and what each one holds.
class IniFileSaveTest : public rivode::test::IniStoreTest {};

TEST_F(IniFileSaveTest, ValuesAreRoutedBetweenTheMainAndThePersonalFile) {
    using Change = std::function<void(YProfileKey&)>;
    struct Case {
        const char* rule;
        bool withPersonal;
        const char *mainBefore, *personalBefore;  // nullptr: no file
        Change change;
        std::optional<std::string> mainAfter, personalAfter;
    };
    const Case cases[] = {
        {"a personal value goes only to the personal file", true, nullptr, nullptr,
         [](YProfileKey& k) { ASSERT_TRUE(k.SetString(u"Password", u"secret")); }, std::nullopt,
         "S:\"Password\"=secret\r\n"},
        {"without a personal folder everything goes to the main file, personal values first", false,
         nullptr, nullptr,
         [](YProfileKey& k) {
             ASSERT_TRUE(k.SetString(u"Hostname", u"h") && k.SetString(u"Password", u"p"));
         },
         "S:\"Password\"=p\r\nS:\"Hostname\"=h\r\n", std::nullopt},
        {"a mixed change splits between the two files", true, nullptr, nullptr,
         [](YProfileKey& k) {
             ASSERT_TRUE(k.SetStringArray(u"Keywords", {u"k"}) && k.SetString(u"Username", u"u") &&
                         k.SetString(u"Hostname", u"h"));
         },
         "S:\"Hostname\"=h\r\nZ:\"Keywords\"=00000001\r\n k\r\n", "S:\"Username\"=u\r\n"},
        {"a general change rewrites the main file with the personal values held", true,
         "S:\"Hostname\"=h\r\n", "S:\"Password\"=p\r\n",
         [](YProfileKey& k) { ASSERT_TRUE(k.SetDword(u"Port", 22)); },
         "S:\"Password\"=p\r\nS:\"Hostname\"=h\r\nD:\"Port\"=00000016\r\n", "S:\"Password\"=p\r\n"},
        {"deleting every value leaves just the mark", false,
         "S:\"Hostname\"=h\r\nD:\"Port\"=00000016\r\n", nullptr,
         [](YProfileKey& k) { ASSERT_TRUE(k.DeleteValue(u"Hostname") && k.DeleteValue(u"Port")); },
         "", std::nullopt},
        {"deleting the last personal value is stored", true, nullptr, "S:\"Password\"=p\r\n",
         [](YProfileKey& k) { ASSERT_TRUE(k.DeleteValue(u"Password") && k.Flush()); }, std::nullopt,
         ""},
        {"an unchanged key writes nothing, however odd its file", false, "S:\"a\"=1\r\n\r\ngarbage",
         nullptr, [](YProfileKey& k) { EXPECT_EQ(rivode::test::StringOf(k, u"a"), u"1"); },
         "S:\"a\"=1\r\n\r\ngarbage", std::nullopt},
        {"rewriting moves personal values into the new personal folder", false,
         "S:\"Password\"=p\r\nS:\"Hostname\"=h\r\n", nullptr,
         [this](YProfileKey& k) {
             k.SetPersonalPath(rivode::FromUtf8(Personal("S")));
             k.Rewrite();
         },
         "S:\"Hostname\"=h\r\n", "S:\"Password\"=p\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        fs::remove_all(MainRoot());
        fs::remove_all(PersonalRoot());
        if (c.mainBefore != nullptr) {
            WriteValueFile(Main("S.ini"), c.mainBefore);
        }
        if (c.personalBefore != nullptr) {
            WriteValueFile(Personal("S.ini"), c.personalBefore);
        }
        {
            auto store = OpenStore(c.withPersonal);
            YProfileKey key(store->GetRootKey(), u"S", true);
            c.change(key);
        }
        EXPECT_EQ(LinesOf(Main("S.ini")), c.mainAfter);
        EXPECT_EQ(LinesOf(Personal("S.ini")), c.personalAfter);
    }
}

TEST_F(IniFileSaveTest, PersonalFileOverridesTheMainFileWhenReading) {
    WriteValueFile(Main("S.ini"), "S:\"Username\"=old\r\nS:\"Hostname\"=h\r\n");
    WriteValueFile(Personal("S.ini"), "S:\"Username\"=new\r\n");
    auto store = OpenStore(true);
    EXPECT_EQ(rivode::test::StringOf(YProfileKey(store->GetRootKey(), u"S"), u"Username"), u"new");
}

// Reading it as code-page text is what makes the rewritten bytes right.
TEST_F(IniFileSaveTest, LegacyFileIsReadAsCodePageTextAndRewrittenAsUtf8WithMark) {
    rivode::test::WriteFileBytes(MainRoot() + ".ini", "S:\"T\"=\xe9\r\n");
    {
        auto store = OpenStore();
        ASSERT_TRUE(store->GetRootKey().SetDword(u"n", 1));
    }
    EXPECT_EQ(ReadFileBytes(MainRoot() + ".ini"),
              kBom + "S:\"T\"=\xc3\xa9\r\nD:\"n\"=00000001\r\n");
}

TEST_F(IniFileSaveTest, CreatedFoldersAndFilesAreOwnerOnlyUnlessOthersAreAllowed) {
    {
        auto store = OpenStore(true);
        YProfileKey key(store->GetRootKey(), u"A\\B", true);
        ASSERT_TRUE(key.GetStatus().IsSuccess());
        ASSERT_TRUE(key.SetDword(u"v", 1));
        ASSERT_TRUE(key.SetString(u"Password", u"p"));
    }
    for (const std::string& folder : {MainRoot(), Main("A"), Main("A/B"), Personal("A/B")}) {
        EXPECT_EQ(ModeOf(folder), 0700u) << folder;
    }
    EXPECT_EQ(ModeOf(Main("A/B.ini")), 0600u);
    EXPECT_EQ(ModeOf(Personal("A/B.ini")), 0600u);

    YAccessControl access;
    ASSERT_TRUE(access.FromStrings({u"Everyone,allow,0x80000000"}));
    auto store = OpenStore();
    auto key = store->GetRootKey().GetPrivateKey().OpenPrivateSubKey(u"Shared", &access, true);
    EXPECT_EQ(ModeOf(Main("Shared")), 0755u);
}

// A full disk at any step of a save is IniFileCrashSafetyTest.FaultsAtAnyStep's.
TEST_F(IniFileSaveTest, FailedSaveLeavesThePreviousFilesIntact) {
    const std::string original = "S:\"Hostname\"=h\r\nD:\"Port\"=00000016\r\n";
    struct Case {
        const char* fault;
        std::function<void(rivode::test::FaultyFileSystem&)> inject;
        int error;  // 0: any report
    };
    const Case cases[] = {
        {"read-only main file", [this](auto& faulty) { faulty.readOnlyPath = Main("S.ini"); },
         EACCES},
        {"unopenable personal file",
         [this](auto& faulty) { faulty.readOnlyPath = Personal("S.ini"); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        WriteValueFile(Main("S.ini"), original);
        WriteValueFile(Personal("S.ini"), "");
        rivode::test::FaultyFileSystem faulty;
        c.inject(faulty);
        auto store = OpenStore(true);
        {
            YProfileKey key(store->GetRootKey(), u"S");
            EXPECT_EQ(key.IsWritable(), faulty.readOnlyPath != Main("S.ini"));
            ASSERT_TRUE(key.SetDword(u"Port", 23));
            ASSERT_TRUE(key.SetString(u"Password", u"p"));
            EXPECT_FALSE(key.Flush());
            if (c.error != 0) {
                EXPECT_EQ(GetSystemErrorCause(key.GetStatus()), c.error);
                EXPECT_NE(rivode::test::ReasonOf(key.GetStatus()).find(u"S.ini"),
                          std::u16string::npos);
            }
        }
        EXPECT_EQ(ReadFileBytes(Main("S.ini")), kBom + original);
    }
}

// Reading stops at a damaged line; rewriting the file would drop what follows it, so the
// damaged file is kept aside whole before its first rewrite.
TEST_F(IniFileSaveTest, DamagedFileIsKeptAsideBeforeItIsRewritten) {
    const std::string damaged = "S:\"Hostname\"=h\r\nnot a value line\r\nD:\"Port\"=00000016\r\n";
    WriteValueFile(Main("S.ini"), damaged);
    WriteValueFile(Main("Clean.ini"), "S:\"Hostname\"=c\r\n");
    auto store = OpenStore();
    for (const char* name : {"S", "Clean"}) {
        YProfileKey key(store->GetRootKey(), rivode::FromUtf8(name));
        ASSERT_TRUE(key.SetDword(u"Port", 23));
        ASSERT_TRUE(key.Flush());
        ASSERT_TRUE(key.SetDword(u"Port", 24));
        ASSERT_TRUE(key.Flush());
    }
    EXPECT_EQ(ReadFileBytes(Main("S.ini")), kBom + "S:\"Hostname\"=h\r\nD:\"Port\"=00000018\r\n");
    EXPECT_EQ(ReadFileBytes(Main("S.ini.damaged")), kBom + damaged);
    EXPECT_EQ(ModeOf(Main("S.ini.damaged")), 0600u);
    EXPECT_FALSE(fs::exists(Main("Clean.ini.damaged")));
}

}  // namespace

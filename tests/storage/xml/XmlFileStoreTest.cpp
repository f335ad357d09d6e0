// What only the XML file store does: its exact document layout, documents it refuses as a
// whole, values of one name in two kinds, documents written by other tools, and saves that
// fail or are killed.
#include "tests/storage/FaultyFileSystem.h"
#include "tests/storage/IniFileTestSupport.h"

#include "storage/xml/XmlSettingsDocument.h"

#include <RivodeRavudaVU/YXmlFileStore.h>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace {

using rivode::test::DwordOf;
using rivode::test::kBom;
using rivode::test::Listing;
using rivode::test::ListOf;
using rivode::test::ReadFileBytes;
using rivode::test::StringOf;
using rivode::test::WriteFileBytes;

constexpr std::uint32_t kLoadFailed = 0xE1040054;
constexpr std::uint32_t kWrongRoot = 0xE1040056;

std::string Repeated(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

class XmlFileStoreTest : public ::testing::Test {
protected:
    std::string File() const { return temp_ / "settings.xml"; }
    std::unique_ptr<YProfileStore> Open(bool readOnly = false) {
        YXmlFileStoreFactory factory(rivode::FromUtf8(File()));
        return std::make_unique<YProfileStore>(readOnly, &factory);
    }
    // The reason a failed load gives, below the host's "could not be loaded".
    static std::string CauseOf(const YReportMessageParams& status) {
        return status.GetStrings().empty() ? std::string()
                                           : rivode::ToUtf8(status.GetStrings().back());
    }
    rivode::test::TempFolder temp_;
};

TEST_F(XmlFileStoreTest, DocumentIsLaidOutAsDeclarationRootNestedKeysAndValueElements) {
    {
        auto store = Open();
        YProfileKey sessions(store->GetRootKey(), u"Sessions");
        ASSERT_TRUE(sessions.SetDword(u"Is Session", 1));
        ASSERT_TRUE(sessions.SetString(u"Protocol Name", u"SSH2"));
        ASSERT_TRUE(sessions.SetBinary(u"Custom Colors", "\x00\x01\xff", 3));
        ASSERT_TRUE(sessions.SetStringArray(u"Keyword List", {u"first entry", u"second entry"}));
        ASSERT_TRUE(YProfileKey(sessions, u"A & <B>", true).GetStatus().IsSuccess());
    }
    EXPECT_EQ(ReadFileBytes(File()), kBom +
                                         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                         "<Yarrowby version=\"3.0\">\r\n"
                                         "  <key name=\"Sessions\">\r\n"
                                         "    <dword name=\"Is Session\">1</dword>\r\n"
                                         "    <string name=\"Protocol Name\">SSH2</string>\r\n"
                                         "    <binary name=\"Custom Colors\">00 01 ff</binary>\r\n"
                                         "    <array name=\"Keyword List\">\r\n"
                                         "      <string>first entry</string>\r\n"
                                         "      <string>second entry</string>\r\n"
                                         "    </array>\r\n"
                                         "    <key name=\"A &amp; &lt;B&gt;\"/>\r\n"
                                         "  </key>\r\n"
                                         "</Yarrowby>\r\n");
    EXPECT_EQ(std::filesystem::status(File()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(XmlFileStoreTest, ANameInAnotherKindIsASecondElementAndDeletionTakesTheFirst) {
    auto store = Open();
    YProfileKey key(store->GetRootKey(), u"K");
    ASSERT_TRUE(key.SetDword(u"v", 7));
    ASSERT_TRUE(key.SetString(u"v", u"seven"));
    ASSERT_TRUE(key.SetDword(u"v", 8));  // replaces the text of the dword element
    EXPECT_EQ(ListOf(key, true), (Listing{{u"v", ValueKindDword}, {u"v", ValueKindString}}));
    EXPECT_EQ(DwordOf(key, u"v"), 8u);
    ASSERT_TRUE(key.DeleteValue(u"v"));
    EXPECT_EQ(DwordOf(key, u"v"), std::nullopt);
    EXPECT_EQ(StringOf(key, u"v"), YUnicodeString(u"seven"));
}

TEST_F(XmlFileStoreTest, KeysOfOneStoreShareTheDocumentAndListInDocumentOrder) {
    auto store = Open();
    YProfileKey first(store->GetRootKey(), u"S");
    YProfileKey second(store->GetRootKey(), u"s");
    ASSERT_TRUE(first.SetDword(u"v", 1));
    EXPECT_EQ(DwordOf(second, u"v"), 1u);
    for (const char16_t* name : {u"Zeta", u"alpha", u"ZETA", u"Mid"}) {
        ASSERT_TRUE(YProfileKey(first, name).SetDword(u"x", 0));
    }
    EXPECT_EQ(ListOf(first, false), (Listing{{u"Zeta", ValueKindSubKey},
                                             {u"alpha", ValueKindSubKey},
                                             {u"Mid", ValueKindSubKey}}));
    // A key deleted under a key object still open: the object finds it missing, not stale.
    YProfileKey alpha(first, u"Alpha");
    ASSERT_TRUE(first.DeleteSubKey(u"ALPHA"));
    EXPECT_EQ(DwordOf(alpha, u"x"), std::nullopt);
    ASSERT_TRUE(alpha.SetDword(u"x", 5));
    EXPECT_EQ(DwordOf(YProfileKey(first, u"alpha"), u"x"), 5u);
}

TEST_F(XmlFileStoreTest, ManySiblingKeysAndValuesAreFoundThroughTheIndex) {
    auto store = Open();
    YProfileKey sessions(store->GetRootKey(), u"Sessions");
    for (int i = 0; i < 200; ++i) {
        const YUnicodeString name = u"Server " + rivode::FromAscii(std::to_string(i));
        ASSERT_TRUE(YProfileKey(sessions, name).SetDword(u"Port", static_cast<std::uint32_t>(i)));
        ASSERT_TRUE(sessions.SetDword(name, static_cast<std::uint32_t>(i)));
    }
    ASSERT_TRUE(sessions.DeleteValue(u"Server 3"));
    ASSERT_TRUE(sessions.SetString(u"Server 4", u"text"));
    ASSERT_TRUE(sessions.DeleteSubKey(u"server 5"));
    EXPECT_EQ(DwordOf(YProfileKey(sessions, u"SERVER 150"), u"Port"), 150u);
    EXPECT_EQ(DwordOf(sessions, u"Server 3"), std::nullopt);
    EXPECT_EQ(DwordOf(sessions, u"Server 4"), 4u);
    EXPECT_EQ(StringOf(sessions, u"Server 4"), YUnicodeString(u"text"));
    EXPECT_FALSE(sessions.SubKeyExists(u"Server 5"));
    EXPECT_EQ(ListOf(sessions, false).size(), 199u);
}

TEST_F(XmlFileStoreTest, DocumentsOfOtherToolsAreReadWhateverTheirLayout) {
    WriteFileBytes(File(),
                   "<?xml version='1.0'?>\n<!-- exported -->\n<Yarrowby version='3.0'>"
                   "<key name='Sessions'><key name='S'>\n"
                   "  <dword name='Port'> 22 </dword><dword name='Bad'>-1</dword>"
                   "<string name='Note'>a &amp; b &#233;<![CDATA[<raw>]]></string>"
                   "<binary name='Bytes'>0A0b \n FF</binary><extra keep='yes'>x</extra>"
                   "<array name='L'> <string>one</string><other/><string/> </array>"
                   "</key></key></Yarrowby>");
    {
        auto store = Open();
        YProfileKey key(store->GetRootKey(), u"Sessions\\S");
        EXPECT_EQ(DwordOf(key, u"Port"), 22u);
        EXPECT_EQ(DwordOf(key, u"Bad"), std::nullopt);
        EXPECT_EQ(StringOf(key, u"Note"), YUnicodeString(u"a & b \u00e9<raw>"));
        std::uint8_t bytes[3] = {};
        std::uint32_t size = 3;
        ASSERT_TRUE(key.GetBinary(u"Bytes", bytes, size));
        EXPECT_EQ(bytes[0] + bytes[1] * 0x100 + bytes[2] * 0x10000, 0xFF0B0A);
        YStringArray list;
        ASSERT_TRUE(key.GetStringArray(u"L", list));
        EXPECT_EQ(list, (YStringArray{u"one", u""}));
        ASSERT_TRUE(key.SetDword(u"Port", 23));
    }
    const std::string saved = ReadFileBytes(File());
    EXPECT_NE(saved.find("<dword name=\"Port\">23</dword>"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<extra keep=\"yes\">x</extra>"), std::string::npos)
        << "elements the store does not know are kept";
}

// Found by fuzzing: a line break in the root's attribute was taken for a line of the layout.
TEST_F(XmlFileStoreTest, ALineBreakInAnyAttributeSurvivesASave) {
    WriteFileBytes(File(), "<Yarrowby version='3.0&#10;\t&lt;'><key name='K'/></Yarrowby>");
    ASSERT_TRUE(YProfileKey(Open()->GetRootKey(), u"Other").SetDword(u"v", 1));
    const std::string saved = ReadFileBytes(File());
    auto store = Open();
    ASSERT_TRUE(store->GetRootKey().GetStatus().IsSuccess()) << saved;
    EXPECT_EQ(ListOf(store->GetRootKey(), false),
              (Listing{{u"K", ValueKindSubKey}, {u"Other", ValueKindSubKey}}));
    ASSERT_TRUE(YProfileKey(store->GetRootKey(), u"Other").SetDword(u"v", 2));
    store.reset();
    EXPECT_NE(ReadFileBytes(File()).find("version=\"3.0\n\t&lt;\""), std::string::npos);
}

TEST_F(XmlFileStoreTest, DocumentsThatAreNotSettingsAreRefusedWholeAndNeverOverwritten) {
    struct Case {
        const char* name;
        std::string bytes;
        std::uint32_t id;
        std::string cause;
    };
    const Case cases[] = {
        {"another root", "<Settings version=\"3.0\"><key name=\"S\"/></Settings>", kWrongRoot, ""},
        {"malformed", "<Yarrowby>\n  <key name=\"S\">\n  </kex\n</Yarrowby>", kLoadFailed,
         "line 4, column 1"},
        {"two roots", kBom + "<Yarrowby/>\n <Yarrowby/>", kLoadFailed, "line 2, column 2"},
        {"too deep", "<Yarrowby>" + Repeated("<key>", 300), kLoadFailed, "256 levels"},
        {"UTF-16", "\xFF\xFE<\0Y\0", kLoadFailed, "UTF-16"},
        {"no element", "  <!-- nothing -->  ", kLoadFailed, "no element"},
        // Found by fuzzing: the printed document could not hold the character.
        {"reference to NUL", "<Yarrowby>\n<string name='a&#x00;'/></Yarrowby>", kLoadFailed,
         "NUL at line 2, column 16"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(File(), c.bytes);
        {
            auto store = Open();
            const YReportMessageParams& status = store->GetRootKey().GetStatus();
            EXPECT_EQ(status.GetMessageId(), c.id);
            EXPECT_NE(CauseOf(status).find(c.cause), std::string::npos) << CauseOf(status);
            YProfileKey key(store->GetRootKey(), u"S");
            EXPECT_EQ(key.GetStatus().GetMessageId(), c.id) << "every key tells why";
            EXPECT_TRUE(ListOf(store->GetRootKey(), false).empty());
            EXPECT_FALSE(key.SetDword(u"v", 1));
            EXPECT_FALSE(key.IsWritable());
        }
        EXPECT_EQ(ReadFileBytes(File()), c.bytes);
    }
    EXPECT_NE(CauseOf(Open()->GetRootKey().GetStatus()), "");
}

TEST_F(XmlFileStoreTest, AFileTooLargeIsRefusedUnread) {
    WriteFileBytes(File(), "<Yarrowby>");
    std::filesystem::resize_file(File(), rivode::storage::kMaxXmlSettingsSize + 1);
    auto store = Open();
    EXPECT_EQ(store->GetRootKey().GetStatus().GetMessageId(), kLoadFailed);
    EXPECT_NE(CauseOf(store->GetRootKey().GetStatus()).find("512 MB"), std::string::npos);
}

TEST_F(XmlFileStoreTest, ReadOnlyFlagOfTheFactoryKeepsEveryKeyFromWriting) {
    YXmlFileStoreFactory factory(rivode::FromUtf8(File()), YXmlFileStoreReadOnly);
    YProfileStore store(false, &factory);
    YProfileKey key(store.GetRootKey(), u"K");
    ASSERT_TRUE(key.SetDword(u"v", 1));
    EXPECT_FALSE(key.IsWritable());
    EXPECT_FALSE(key.Flush());
    EXPECT_NE(rivode::ToUtf8(key.GetStatus().GetStrings().at(0)).find("settings.xml"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(XmlFileStoreTest, AFailedSaveIsReportedAndKeepsThePreviousDocument) {
    ASSERT_TRUE(YProfileKey(Open()->GetRootKey(), u"K").SetDword(u"v", 1));
    const std::string before = ReadFileBytes(File());
    for (const int error : {ENOSPC, EIO}) {
        rivode::test::FaultyFileSystem faulty;
        faulty.writeError = error;
        auto store = Open();
        YProfileKey key(store->GetRootKey(), u"K");
        ASSERT_TRUE(key.SetDword(u"v", 2));
        EXPECT_FALSE(key.Flush());
        EXPECT_EQ(GetSystemErrorCause(key.GetStatus()), error);
        EXPECT_EQ(ReadFileBytes(File()), before);
    }
    EXPECT_EQ(DwordOf(YProfileKey(Open()->GetRootKey(), u"K"), u"v"), 1u);
}

// Each process saves the whole document again and again; whichever saved last, the file is
// always one process's whole document, never a mix of two.
TEST_F(XmlFileStoreTest, ProcessesSavingOneFileNeverMixTheirDocuments) {
    constexpr int kProcesses = 4;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0; i < 15; ++i) {
                auto store = Open();
                YProfileKey key(store->GetRootKey(), u"Shared");
                for (int v = 0; v < 40; ++v) {
                    (void)key.SetDword(rivode::FromAscii("v" + std::to_string(v)),
                                       static_cast<std::uint32_t>(p));
                }
            }
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto store = Open();
    ASSERT_TRUE(store->GetRootKey().GetStatus().IsSuccess());
    YProfileKey key(store->GetRootKey(), u"Shared");
    const std::optional<std::uint32_t> writer = DwordOf(key, u"v0");
    ASSERT_TRUE(writer.has_value());
    for (int v = 0; v < 40; ++v) {
        EXPECT_EQ(DwordOf(key, rivode::FromAscii("v" + std::to_string(v))), writer);
    }
    EXPECT_EQ(ListOf(key, true).size(), 40u);
}

}  // namespace

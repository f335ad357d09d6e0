// Loading, saving and merging the global record against a configuration folder.
#include "tests/config/global/GlobalConfigTestSupport.h"
#include "tests/davaraze/ScopedEnvironment.h"
#include "tests/storage/FaultyFileSystem.h"
#include "tests/storage/MemoryKey.h"

#include <algorithm>

namespace rivode::test {
namespace {

class GlobalStoreTest : public GlobalConfigTest {};

TEST_F(GlobalStoreTest, StoredVersionDecidesTheDefaultsOfAnExistingConfiguration) {
    const struct {
        std::string lines;
        bool existing;
        bool rightClickPopupShown;
        std::uint32_t listViewSortStyle;
        std::uint32_t defaultActionForFiles;
    } cases[] = {
        {"", false, false, 2, 1},
        {"S:\"Version\"=7B2F2717-85C8-4729-8394-3B7697039CEB\r\n", true, true, 1, 0},
        {"S:\"Version\"=0311ABC6-1CDD-46fc-A08A-0D7C00242FCA\r\n", true, true, 1, 0},
        // Values the store holds are taken whatever the version says.
        {"D:\"Right Click Popup Shown\"=00000001\r\nD:\"List View Sort Style\"=00000007\r\n", false,
         true, 7, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        WriteValueFile(GlobalFile(), c.lines);
        const YRefPtr<GlobalConfig> record = Read();
        EXPECT_EQ(record->WasVersionStored(), c.existing);
        EXPECT_EQ(record->rightClickPopupShown, c.rightClickPopupShown);
        EXPECT_EQ(record->listViewSortStyle, c.listViewSortStyle);
        EXPECT_EQ(record->quillfileDefaultActionForFiles, c.defaultActionForFiles);
    }
    // A fresh configuration gets its version on the first save, keeping what was stored.
    Write(*Read());
    EXPECT_EQ(StringOf(*Stored(), u"Version"), YUnicodeString(kGlobalConfigVersion));
    EXPECT_EQ(DwordOf(*Stored(), u"List View Sort Style"), 7u);
}

TEST_F(GlobalStoreTest, OlderTabStatesGainTheirV2ValuesOnSave) {
    WriteValueFile(GlobalFile(),
                   "S:\"Quillterm Tab State\"=0,1,1,4,7\r\n"
                   "S:\"Quillfile Tab State\"=1,0,3;5,6\r\n");
    const YRefPtr<GlobalConfig> record = Read();
    EXPECT_TRUE(record->quilltermTabStateV2.IsFromStore());
    Write(*record);
    const auto stored = Stored();
    EXPECT_EQ(StringOf(*stored, u"Quillterm Tab State V2"), u"0,1,4;7");
    EXPECT_EQ(StringOf(*stored, u"Quillfile Tab State V2"), u"1,0,3;5,6");
    EXPECT_EQ(StringOf(*stored, u"Quillterm Tab State"), u"0,1,1,4,7");

    // Once V2 exists the older value no longer counts.
    WriteValueFile(GlobalFile(),
                   "S:\"Quillterm Tab State\"=0,0,0;1\r\nS:\"Quillterm Tab State V2\"=1,0,2;\r\n");
    EXPECT_EQ(Read()->quilltermTabStateV2.number, 2);
}

// A file damaged part way: what comes before the damage is read, the rest takes defaults, the
// save keeps every value this record does not know.
TEST_F(GlobalStoreTest, DamagedFileLoadsWhatItCanAndKeepsForeignValues) {
    WriteValueFile(GlobalFile(),
                   "S:\"Version\"=7B2F2717-85C8-4729-8394-3B7697039CEB\r\n"
                   "D:\"Tab Width\"=000000c8\r\n"
                   "S:\"Written By A Newer Version\"=keep me\r\n"
                   "S:\"Open With Program Title\"=gedit\r\n"
                   // Five items announced, one there: the reader stops here.
                   "Z:\"Quillfile Bookmarks\"=00000005\r\n /srv\r\n"
                   "D:\"Timeout\"=0000003c\r\n");
    const YRefPtr<GlobalConfig> record = Read();
    EXPECT_EQ(record->tabWidth, 200u);
    EXPECT_EQ(record->openWithProgramTitle.Get(), u"gedit");
    EXPECT_TRUE(record->openWithProgramTitle.IsFromStore());
    EXPECT_FALSE(record->timeout.IsFromStore());
    EXPECT_EQ(record->timeout, 180u);
    record->tabWidth = 220;
    Write(*record);
    const auto stored = Stored();
    EXPECT_EQ(StringOf(*stored, u"Written By A Newer Version"), u"keep me");
    EXPECT_EQ(DwordOf(*stored, u"Tab Width"), 220u);
    EXPECT_EQ(StringOf(*stored, u"Open With Program Title"), u"gedit");
}

TEST_F(GlobalStoreTest, MergeKeepsThePassphraseInUse) {
    WriteValueFile(
        GlobalFile(),
        "S:\"Config Passphrase\"=02:aaaa\r\nD:\"Change Config Passphrase\"=00000001\r\n");
    const YRefPtr<GlobalConfig> record = Read();

    const auto other = std::make_shared<MemoryValues>();
    other->values = {{u"Config Passphrase", YUnicodeString(u"02:bbbb")},
                     {u"Change Config Passphrase", 0u},
                     {u"Tab Width", 99u},
                     {u"Show Toolbar", 0u}};
    record->Merge(*MakeMemoryKey(other));

    EXPECT_EQ(record->configPassphrase.GetEncryptedText(), u"02:aaaa");
    EXPECT_TRUE(record->changeConfigPassphrase);
    EXPECT_EQ(record->tabWidth, 99u);
    EXPECT_FALSE(record->productConfig.showToolbar);
    Write(*record);
    const auto stored = Stored();
    EXPECT_EQ(StringOf(*stored, u"Config Passphrase"), u"02:aaaa");
    EXPECT_EQ(DwordOf(*stored, u"Tab Width"), 99u);
}

TEST_F(GlobalStoreTest, FailedSaveWritesEverythingAgainNextTime) {
    Write(*Read());
    const YRefPtr<GlobalConfig> record = Read();
    record->tabWidth = 321;
    record->productConfig.showMenuBar = false;
    {
        FaultyFileSystem faulty;  // installed for its lifetime
        faulty.writeError = ENOSPC;
        YReportMessageParams report;
        EXPECT_FALSE(record->SaveToStore(report));
        EXPECT_EQ(GetSystemErrorCause(report), ENOSPC);
    }
    Write(*record);
    EXPECT_EQ(DwordOf(*Stored(), u"Tab Width"), 321u);
    EXPECT_EQ(DwordOf(*Stored(), u"Show Menu Bar"), 0u);
}

// The key of a test that remembers the order of the writes, its subkeys' writes included.
class RecordingKey : public MemoryKey {
public:
    RecordingKey(std::shared_ptr<std::vector<YUnicodeString>> log, YUnicodeString prefix)
        : MemoryKey(std::make_shared<MemoryValues>()),
          log_(std::move(log)),
          prefix_(std::move(prefix)) {}
    bool SetStringArray(std::u16string_view name, const YStringArray& value) override {
        return Log(name) && MemoryKey::SetStringArray(name, value);
    }
    bool SetBinary(std::u16string_view name, const void* bytes, std::uint64_t length) override {
        return Log(name) && MemoryKey::SetBinary(name, bytes, length);
    }
    bool SetString(std::u16string_view name, std::u16string_view value) override {
        return Log(name) && MemoryKey::SetString(name, value);
    }
    bool SetDword(std::u16string_view name, std::uint32_t value) override {
        return Log(name) && MemoryKey::SetDword(name, value);
    }
    std::unique_ptr<YProfilePrivateKey> OpenPrivateSubKey(std::u16string_view name,
                                                          const YAccessControl*, bool) override {
        return std::make_unique<RecordingKey>(log_, prefix_ + YUnicodeString(name) + u"\\");
    }

private:
    bool Log(std::u16string_view name) {
        log_->push_back(prefix_ + YUnicodeString(name));
        return true;
    }
    std::shared_ptr<std::vector<YUnicodeString>> log_;
    YUnicodeString prefix_;
};

TEST_F(GlobalStoreTest, SaveWritesTabStatesThenQuickSyncThenTheRest) {
    const YRefPtr<GlobalConfig> record = Read();
    record->quickSync.direction = QuickSyncConfig::Download;
    // The scheme list is written only once it differs from the built-ins.
    record->guiConfig->colorSchemes.current.enableBlink = 0;
    auto log = std::make_shared<std::vector<YUnicodeString>>();
    ASSERT_TRUE(record->Save(YProfileKey(std::make_unique<RecordingKey>(log, u""))));

    const std::vector<YUnicodeString> first(log->begin(), log->begin() + 8);
    EXPECT_EQ(first, (std::vector<YUnicodeString>{
                         u"Quillterm Tab State V2", u"Local ExplorerFrame State",
                         u"Remote ExplorerFrame State", u"Synchronize ExplorerFrame State",
                         u"Quillfile Tab State V2", u"Quillfile Local Tab State",
                         u"Quillfile Remote Tab State", u"QuickSync\\Local Folder"}));
    const auto position = [&](std::u16string_view name) {
        return std::find(log->begin(), log->end(), name) - log->begin();
    };
    EXPECT_LT(position(u"QuickSync\\Compare Contents"), position(u"Version"));
    EXPECT_LT(position(u"Title Bar Text"), position(u"Show Toolbar"));
    EXPECT_LT(position(u"Show Toolbar"), position(u"Color Schemes"));
    EXPECT_LT(position(u"Color Schemes"), position(u"Editor Font"));
    EXPECT_LT(position(u"Editor Displays Line Numbers"), position(u"Page Margins"));
    EXPECT_EQ(log->back(), u"Printer Baud Rate");
}

TEST_F(GlobalStoreTest, QuickSyncIsWrittenOnlyOnceItWasChanged) {
    Write(*Read());
    EXPECT_FALSE(std::filesystem::exists(Main("Global/QuickSync.ini")));

    const YRefPtr<GlobalConfig> record = Read();
    record->quickSync.remoteFolder = u"/var/www";
    EXPECT_TRUE(record->quickSync.IsDirty());
    Write(*record);
    EXPECT_FALSE(record->quickSync.IsDirty());
    EXPECT_EQ(Read()->quickSync.remoteFolder.Get(), u"/var/www");
}

TEST_F(GlobalStoreTest, PlatformDefaultsFollowTheDesktop) {
    WriteFileBytes(temp_ / "fonts.conf",
                   "<fontconfig><match target=\"font\"><edit name=\"antialias\" mode=\"assign\">"
                   "<bool> false </bool></edit></match></fontconfig>");
    std::filesystem::create_directories(temp_ / "xdg/fontconfig");
    const struct {
        const char* scale;
        const char* gdkScale;
        const char* desktop;
        bool smoothingOff;
        std::uint32_t tabWidth;
        bool zoom;
    } cases[] = {
        {nullptr, nullptr, nullptr, false, 150, false},
        {"2", nullptr, "KDE", false, 300, true},
        {"1.5", "2", nullptr, true, 225, false},
        {nullptr, "2", "GNOME", true, 300, true},
        {"junk", nullptr, nullptr, false, 150, false},
        {"100", nullptr, nullptr, false, 1200, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scale << " " << c.gdkScale << " " << c.desktop);
        ScopedEnvironment environment;
        environment.Set("QT_SCALE_FACTOR", c.scale);
        environment.Set("GDK_SCALE", c.gdkScale);
        environment.Set("XDG_CURRENT_DESKTOP", c.desktop);
        environment.Set("WAYLAND_DISPLAY", nullptr);
        environment.Set("XDG_CONFIG_HOME", (temp_ / "xdg").c_str());
        environment.Set("HOME", temp_.Path().c_str());
        std::filesystem::remove(temp_ / "xdg/fontconfig/fonts.conf");
        if (c.smoothingOff) {
            std::filesystem::copy_file(temp_ / "fonts.conf", temp_ / "xdg/fontconfig/fonts.conf");
        }
        const YRefPtr<GlobalConfig> record = Read();
        EXPECT_EQ(record->tabWidth, c.tabWidth);
        EXPECT_EQ(record->enableFontSmoothing, !c.smoothingOff);
        EXPECT_EQ(record->zoomOnKeyboardShortcut, c.zoom);
    }
    // What the desktop says never overrides a stored choice.
    WriteValueFile(GlobalFile(), "D:\"Tab Width\"=00000064\r\n");
    ScopedEnvironment environment;
    environment.Set("QT_SCALE_FACTOR", "2");
    EXPECT_EQ(Read()->tabWidth, 100u);
}

TEST_F(GlobalStoreTest, SendCommandsToAllTabsFollowsTheChatSetting) {
    WriteValueFile(GlobalFile(), "D:\"Enable Send Chat To All Tabs On Startup\"=00000001\r\n");
    EXPECT_EQ(Read()->initialSendCommandsToValue, 1u);
    WriteValueFile(GlobalFile(), "");
    EXPECT_EQ(Read()->initialSendCommandsToValue, 0u);
}

}  // namespace
}  // namespace rivode::test

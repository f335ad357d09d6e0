#include "tests/davaraze/ScopedEnvironment.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YwsPaths.h>

#include <gtest/gtest.h>

namespace {

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override { environment_.Set("HOME", "/home/someone"); }
    void TearDown() override {
        SetYwsConfigPathSub(u"");
        YSetAppName(u"");
    }

    rivode::test::ScopedEnvironment environment_;
};

TEST_F(PathsTest, XdgVariablesMoveTheFoldersOnlyWhenAbsolute) {
    const auto expectFolders = [](const YUnicodeString& config, const YUnicodeString& data) {
        EXPECT_EQ(GetDefaultConfigFolder(), config + u"/yarrowby/Config");
        EXPECT_EQ(GetYwsConfigPathSub(), config + u"/yarrowby/Config");
        EXPECT_EQ(GetYwsUserDataPathSub(), data + u"/yarrowby");
        EXPECT_EQ(GetYwsSshDataPathSub(), data + u"/yarrowby/SSH");
    };
    environment_.Set("XDG_CONFIG_HOME", nullptr);
    environment_.Set("XDG_DATA_HOME", nullptr);
    expectFolders(u"/home/someone/.config", u"/home/someone/.local/share");
    environment_.Set("XDG_CONFIG_HOME", "relative/conf");
    environment_.Set("XDG_DATA_HOME", "");
    expectFolders(u"/home/someone/.config", u"/home/someone/.local/share");
    environment_.Set("XDG_CONFIG_HOME", "/srv/conf");
    environment_.Set("XDG_DATA_HOME", "/srv/data");
    expectFolders(u"/srv/conf", u"/srv/data");
}

TEST_F(PathsTest, SetFolderAndAppNameWinOverTheDefaultsUntilCleared) {
    SetYwsConfigPathSub(u"/data/Config//");
    EXPECT_EQ(GetYwsConfigPathSub(), u"/data/Config");
    SetYwsConfigPathSub(u"/");
    EXPECT_EQ(GetYwsConfigPathSub(), u"/");
    SetYwsConfigPathSub(u"");
    EXPECT_EQ(GetYwsConfigPathSub(), GetDefaultConfigFolder());

    YSetAppName(u"Quillterm");
    EXPECT_EQ(YGetAppName(), u"Quillterm");
    YSetAppName(u"");
    EXPECT_EQ(YGetAppName(), u"davaraze_tests") << "the program's own name";
    const YUnicodeString install = GetYwsInstallPathSub();
    EXPECT_TRUE(install.starts_with(u'/') && !install.ends_with(u'/')) << rivode::ToUtf8(install);
}

}  // namespace

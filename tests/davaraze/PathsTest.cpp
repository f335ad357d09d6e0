#include "tests/davaraze/ScopedEnvironment.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YwsPaths.h>

#include <gtest/gtest.h>

namespace {

using rivode::FromUtf8;

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        environment_.Set("HOME", "/home/someone");
        environment_.Clear("XDG_CONFIG_HOME");
        environment_.Clear("XDG_DATA_HOME");
    }
    void TearDown() override {
        SetYwsConfigPathSub(u"");
        YSetAppName(u"");
    }

    rivode::test::ScopedEnvironment environment_;
};

TEST_F(PathsTest, DefaultsFollowTheHomeFolderWhenXdgIsUnset) {
    EXPECT_EQ(GetDefaultConfigFolder(), u"/home/someone/.config/yarrowby/Config");
    EXPECT_EQ(GetYwsConfigPathSub(), u"/home/someone/.config/yarrowby/Config");
    EXPECT_EQ(GetYwsUserDataPathSub(), u"/home/someone/.local/share/yarrowby");
    EXPECT_EQ(GetYwsSshDataPathSub(), u"/home/someone/.local/share/yarrowby/SSH");
}

TEST_F(PathsTest, XdgVariablesMoveTheFolders) {
    environment_.Set("XDG_CONFIG_HOME", "/srv/conf");
    environment_.Set("XDG_DATA_HOME", "/srv/data");
    EXPECT_EQ(GetYwsConfigPathSub(), u"/srv/conf/yarrowby/Config");
    EXPECT_EQ(GetYwsUserDataPathSub(), u"/srv/data/yarrowby");
    EXPECT_EQ(GetYwsSshDataPathSub(), u"/srv/data/yarrowby/SSH");
}

TEST_F(PathsTest, RelativeXdgVariablesAreIgnored) {
    environment_.Set("XDG_CONFIG_HOME", "relative/conf");
    EXPECT_EQ(GetYwsConfigPathSub(), u"/home/someone/.config/yarrowby/Config");
}

TEST_F(PathsTest, SetConfigFolderWinsOverTheDefaultUntilCleared) {
    SetYwsConfigPathSub(u"/data/Config//");
    EXPECT_EQ(GetYwsConfigPathSub(), u"/data/Config");
    SetYwsConfigPathSub(u"/");
    EXPECT_EQ(GetYwsConfigPathSub(), u"/");
    SetYwsConfigPathSub(u"");
    EXPECT_EQ(GetYwsConfigPathSub(), GetDefaultConfigFolder());
}

TEST_F(PathsTest, InstallFolderHoldsTheCompanionLibrary) {
    const YUnicodeString folder = GetYwsInstallPathSub();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), u'/');
    EXPECT_NE(folder.back(), u'/');
}

TEST_F(PathsTest, AppNameDefaultsToTheProgramAndTakesTheHostsName) {
    EXPECT_EQ(YGetAppName(), u"davaraze_tests");
    YSetAppName(u"Quillterm");
    EXPECT_EQ(YGetAppName(), u"Quillterm");
    YSetAppName(u"");
    EXPECT_EQ(YGetAppName(), u"davaraze_tests");
}

}  // namespace

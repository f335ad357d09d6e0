#include <RivodeRavudaVU/SiblingProducts.h>

#include <DavaraZE/YUserInterface.h>

#include "tests/support/RecordingUserInterface.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

const YUnicodeString kFolder = u"/home/ana/.config/yarrowby/Config";
const YUnicodeString kFolderBase64 = u"L2hvbWUvYW5hLy5jb25maWcveWFycm93YnkvQ29uZmln";

TEST(LaunchAppParameters, FolderSessionAndTabFlagInTheirPlaces) {
    const char16_t session[] = u"Work/Čeština 日本 ✓";
    const char16_t unpaired[] = {u'a', 0xD800, u'b', 0};
    const struct {
        std::uint32_t flags;
        const char16_t* session;
        YUnicodeString expected;
    } cases[] = {
        {1, nullptr, u"/EncodedArgs /F \"" + kFolderBase64 + u"\" /T"},
        {0, nullptr, u"/EncodedArgs /F \"" + kFolderBase64 + u"\""},
        // The session's UTF-8 form is what travels.
        {0, session,
         u"/EncodedArgs /F \"" + kFolderBase64 + u"\" /S \"V29yay/EjGXFoXRpbmEg5pel5pysIOKckw==\""},
        {1, unpaired, u"/EncodedArgs /F \"" + kFolderBase64 + u"\" /T /S ===="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetLaunchAppParameters(c.flags, kFolder, c.session), c.expected);
    }
}

TEST(LaunchSibling, AMissingSiblingIsReportedWithItsNameAndWhereItWasLookedFor) {
    TempFolder folder;
    DetectSiblingProducts(folder.Path());
    const auto recorder = std::make_shared<RecordingUserInterface>();
    YSetUserInterface(recorder);

    EXPECT_FALSE(LaunchTerminalApp(nullptr, kFolder, nullptr, true));
    EXPECT_FALSE(LaunchFileTransferApp(nullptr, GetLaunchAppParameters(0, kFolder, nullptr)));
    YSetUserInterface(nullptr);

    ASSERT_EQ(recorder->shown.size(), 2u);
    EXPECT_EQ(recorder->shown[0].text,
              u"Quillterm could not be launched from the following location:\r\n" +
                  FromUtf8(folder / "Quillterm"));
    EXPECT_EQ(recorder->shown[1].text,
              u"Quillfile could not be launched from the following location:\r\n" +
                  FromUtf8(folder / "Quillfile"));
    EXPECT_EQ(recorder->shown[0].style & YMB_ICONMASK, YMB_ICONWARNING);
}

}  // namespace
}  // namespace rivode::test

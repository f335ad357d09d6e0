// Typed values over the INI folder store: what they write survives the key's file and reads
// back the same.
#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfileBlob.h>
#include <RivodeRavudaVU/YProfileLogFont.h>
#include <RivodeRavudaVU/YProfileMultiLineString.h>

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

TEST(TypedValueIniStore, ValuesWrittenThroughACopyKeyReadBackAfterTheFileIsWritten) {
    TempFolder folder;
    YIniFileStoreFactory factory{folder.Path16()};
    YLogFont font;
    font.height = -20;
    font.SetFaceName(u"DejaVu Sans Mono");
    const YStringArray lines{u"line 1", u"line \"2\""};
    const YProfileBlob::Bytes bytes{0, 255, 10, 13};
    {
        YProfileStore store(&factory);
        YProfileCopyKey key(store.GetRootKey(), u"Session", true);
        YProfileBlob blob(u"Blob");
        blob.Set(bytes);
        ASSERT_TRUE(YProfile<YTriState>(u"Use Global Print Settings", YTriState::Global).Save(key));
        ASSERT_TRUE(YProfileLogFont(u"Normal Font v2", font).Save(key));
        ASSERT_TRUE(YProfileMultiLineString(u"Description", lines).Save(key) && blob.Save(key));
        ASSERT_TRUE(key.Flush());
    }
    YProfileStore store(&factory);
    YProfileKey key(store.GetRootKey(), u"Session");
    YProfile<YTriState> tri;
    YProfileLogFont normal;
    YProfileMultiLineString description;
    YProfileBlob blob;
    EXPECT_TRUE(tri.Init(&key, u"Use Global Print Settings", YTriState::Off));
    EXPECT_EQ(tri, YTriState::Global);
    EXPECT_TRUE(normal.Init(&key, u"Normal Font v2", YLogFont{}));
    EXPECT_EQ(normal.Get(), font);
    EXPECT_TRUE(description.Load(&key, u"Description"));
    EXPECT_EQ(description.Get(), lines);
    EXPECT_TRUE(blob.Init(&key, u"Blob"));
    EXPECT_EQ(blob.Get(), bytes);
}

}  // namespace
}  // namespace rivode::test

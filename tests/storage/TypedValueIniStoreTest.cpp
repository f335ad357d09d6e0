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

class TypedValueIniStore : public ::testing::Test {
protected:
    TempFolder folder;
    YIniFileStoreFactory factory{folder.Path16()};
};

TEST_F(TypedValueIniStore, ValuesWrittenThroughACopyKeyReadBackAfterTheFileIsWritten) {
    YLogFont font;
    font.height = -20;
    font.SetFaceName(u"DejaVu Sans Mono");
    {
        YProfileStore store(&factory);
        YProfileCopyKey key(store.GetRootKey(), u"Session", true);
        YProfile<bool> flag(u"Log Mode", true);
        YProfile<YTriState> tri(u"Use Global Print Settings", YTriState::Global);
        YProfileLogFont normal(u"Normal Font v2", font);
        YProfileMultiLineString description(u"Description", {u"line 1", u"line \"2\""});
        YProfileBlob blob(u"Blob");
        blob.Set({0, 255, 10, 13});
        ASSERT_TRUE(flag.Save(key) && tri.Save(key) && normal.Save(key) &&
                    description.Save(key) && blob.Save(key));
        ASSERT_TRUE(key.Flush());
    }

    YProfileStore store(&factory);
    YProfileKey key(store.GetRootKey(), u"Session");
    YProfile<bool> flag;
    YProfile<YTriState> tri;
    YProfileLogFont normal;
    YProfileMultiLineString description;
    YProfileBlob blob;
    EXPECT_TRUE(flag.Init(&key, u"Log Mode", false));
    EXPECT_TRUE(tri.Init(&key, u"Use Global Print Settings", YTriState::Off));
    EXPECT_TRUE(normal.Init(&key, u"Normal Font v2", YLogFont{}));
    EXPECT_TRUE(description.Load(&key, u"Description"));
    EXPECT_TRUE(blob.Init(&key, u"Blob"));
    EXPECT_TRUE(flag);
    EXPECT_EQ(tri, YTriState::Global);
    EXPECT_EQ(normal.Get(), font);
    EXPECT_EQ(description.Get(), (YStringArray{u"line 1", u"line \"2\""}));
    EXPECT_EQ(blob.Get(), (YProfileBlob::Bytes{0, 255, 10, 13}));
}

}  // namespace
}  // namespace rivode::test

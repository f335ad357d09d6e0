// Typed values over each store back end: what they write survives the store and reads back the
// same.
#include "tests/storage/StoreBackEnds.h"

#include <RivodeRavudaVU/YProfileBlob.h>
#include <RivodeRavudaVU/YProfileLogFont.h>
#include <RivodeRavudaVU/YProfileMultiLineString.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

template <typename BackEnd>
class TypedValueStoreTest : public ::testing::Test {};
TYPED_TEST_SUITE(TypedValueStoreTest, StoreBackEnds, StoreBackEndNames);

TYPED_TEST(TypedValueStoreTest, ValuesWrittenThroughACopyKeyReadBackAfterTheStoreIsWritten) {
    TempFolder folder;
    YLogFont font;
    font.height = -20;
    font.SetFaceName(u"DejaVu Sans Mono");
    const YStringArray lines{u"line 1", u"line \"2\""};
    YProfileBlob blob(u"Blob");
    blob.Set({0, 255, 10, 13});
    {
        auto store = TypeParam::Open(folder, false);
        YProfileCopyKey key(store->GetRootKey(), u"Session", true);
        ASSERT_TRUE(YProfileLogFont(u"Normal Font v2", font).Save(key) && blob.Save(key));
        ASSERT_TRUE(YProfileMultiLineString(u"Description", lines).Save(key) && key.Flush());
    }
    auto store = TypeParam::Open(folder, false);
    YProfileKey key(store->GetRootKey(), u"Session");
    YProfileLogFont normal;
    YProfileMultiLineString description;
    YProfileBlob read;
    EXPECT_TRUE(normal.Init(&key, u"Normal Font v2", YLogFont{}));
    EXPECT_EQ(normal.Get(), font);
    EXPECT_TRUE(description.Load(&key, u"Description"));
    EXPECT_EQ(description.Get(), lines);
    EXPECT_TRUE(read.Init(&key, u"Blob"));
    EXPECT_EQ(read.Get(), blob.Get());
}

}  // namespace
}  // namespace rivode::test

// Binary values: fixed-size records in their little-endian stored forms, the older font form,
// and variable-length blobs.
#include <RivodeRavudaVU/YProfileBlob.h>
#include <RivodeRavudaVU/YProfileLogFont.h>
#include <RivodeRavudaVU/YProfileWindowPlacement.h>

#include "tests/storage/MemoryKey.h"

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

using Bytes = MemoryValues::Bytes;

void PutInt32(Bytes& bytes, std::size_t at, std::int32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    }
}

class TypedValueBinary : public ::testing::Test {
protected:
    YWindowPlacement SamplePlacement() {
        YWindowPlacement placement;
        placement.flags = 2;
        placement.showCommand = 1;
        placement.minPosition = {-1, -1};
        placement.maxPosition = {-8, -31};
        placement.normalPosition = {10, 20, 1034, 788};
        return placement;
    }

    std::shared_ptr<MemoryValues> stored = std::make_shared<MemoryValues>();
    std::unique_ptr<YProfileKey> key = MakeMemoryKey(stored);
};

TEST_F(TypedValueBinary, WindowPlacementIsStoredLittleEndianFieldByField) {
    YProfileWindowPlacement placement(u"Window Placement", SamplePlacement());
    auto copy = MakeMemoryKey<YProfileCopyKey>(stored);
    ASSERT_TRUE(placement.Save(*copy));
    const Bytes& bytes = *stored->Find<Bytes>(u"Window Placement");
    ASSERT_EQ(bytes.size(), 44u);
    Bytes expected(44, 0);
    const std::int32_t fields[] = {44, 2, 1, -1, -1, -8, -31, 10, 20, 1034, 788};
    for (std::size_t i = 0; i < 11; ++i) {
        PutInt32(expected, 4 * i, fields[i]);
    }
    EXPECT_EQ(bytes, expected);
}

TEST_F(TypedValueBinary, ShorterPlacementLoadsOverDefaultAndLongerIsIgnored) {
    Bytes shorter(40, 0);
    PutInt32(shorter, 28, 111);  // normal rectangle left
    PutInt32(shorter, 36, 333);  // right; bottom is missing
    key->SetBinary(u"Short", shorter.data(), 40);
    Bytes longer(48, 0xAB);
    key->SetBinary(u"Long", longer.data(), 48);

    YProfileWindowPlacement fromShort;
    fromShort.normalPosition.bottom = 999;  // what the value held before Init is not kept
    EXPECT_TRUE(fromShort.Init(key.get(), u"Short", SamplePlacement()));
    EXPECT_EQ(fromShort.normalPosition.left, 111);
    EXPECT_EQ(fromShort.normalPosition.right, 333);
    EXPECT_EQ(fromShort.normalPosition.bottom, 788) << "the default keeps what was not stored";
    EXPECT_EQ(fromShort.length, 0);

    YProfileWindowPlacement fromLong;
    EXPECT_FALSE(fromLong.Init(key.get(), u"Long", SamplePlacement()));
    EXPECT_EQ(fromLong.Get(), SamplePlacement());
    EXPECT_TRUE(fromLong.IsPending());
}

TEST_F(TypedValueBinary, FontRoundTripsThroughItsNinetySixByteForm) {
    YLogFont font;
    font.SetFaceName(YUnicodeString(40, u'x'));
    EXPECT_EQ(font.GetFaceName().size(), 31u) << "cut to stay terminated";
    EXPECT_EQ(font.faceName.back(), u'\0');
    font.height = -16;
    font.weight = 700;
    font.italic = 1;
    font.pitchAndFamily = 0x31;
    font.SetFaceName(u"Lucida Console");
    font.extra = 120;
    YProfileLogFont saved(u"Editor Font", font);
    auto copy = MakeMemoryKey<YProfileCopyKey>(stored);
    ASSERT_TRUE(saved.Save(*copy));
    const Bytes& bytes = *stored->Find<Bytes>(u"Editor Font");
    ASSERT_EQ(bytes.size(), 96u);
    EXPECT_EQ(Bytes(bytes.begin() + 27, bytes.begin() + 30), (Bytes{0x31, 'L', 0}));
    EXPECT_EQ(bytes[92], 120);

    YProfileLogFont loaded;
    EXPECT_TRUE(loaded.Init(key.get(), u"Editor Font", YLogFont{}));
    EXPECT_EQ(loaded.Get(), font);
    EXPECT_EQ(loaded.GetFaceName(), u"Lucida Console");
}

TEST_F(TypedValueBinary, LegacyFontIsConvertedAndRewrittenUnderNewerName) {
    Bytes legacy(64, 0);
    PutInt32(legacy, 0, -13);
    PutInt32(legacy, 16, 400);
    const char face[] = "Caf\xE9 \x80";  // Windows-1252: e acute, euro sign
    std::copy(face, face + sizeof face - 1, legacy.begin() + 28);
    PutInt32(legacy, 60, 77);
    key->SetBinary(u"Normal Font", legacy.data(), 64);

    YProfileLogFont font;
    EXPECT_TRUE(font.Init(key.get(), u"Normal Font v2", YLogFont{}));
    EXPECT_EQ(font.height, -13);
    EXPECT_EQ(font.weight, 400);
    EXPECT_EQ(font.GetFaceName(), u"Caf\u00E9 \u20AC");
    EXPECT_EQ(font.extra, 77);
    EXPECT_TRUE(font.IsPending());

    ASSERT_TRUE(font.Save(*key));
    ASSERT_NE(stored->Find<Bytes>(u"Normal Font v2"), nullptr);
    EXPECT_EQ(stored->Find<Bytes>(u"Normal Font v2")->size(), 96u);
    EXPECT_EQ(*stored->Find<Bytes>(u"Normal Font"), legacy) << "the older value is left alone";

    key->SetBinary(u"Narrow Font", legacy.data(), 64);
    EXPECT_FALSE(font.Init(key.get(), u"Narrow Font v3", YLogFont{}))
        << "only \" v2\" names have an older form";
}

TEST_F(TypedValueBinary, BlobIsWrittenOnlyWhenItsLengthOrBytesChange) {
    YProfileBlob absent;
    EXPECT_FALSE(absent.Init(key.get(), u"Queue"));
    EXPECT_TRUE(absent.IsPending());
    EXPECT_FALSE(absent.IsChanged());
    ASSERT_TRUE(absent.Save(*key));
    EXPECT_FALSE(stored->Has(u"Queue")) << "an empty blob is never written";
    absent.Set({1, 2, 3});
    EXPECT_TRUE(absent.IsChanged()) << "any bytes without a baseline are a change";
    ASSERT_TRUE(absent.Save(*key));
    EXPECT_EQ(*stored->Find<Bytes>(u"Queue"), (Bytes{1, 2, 3}));

    const Bytes bytes(300, 0x5A);
    key->SetBinary(u"State", bytes.data(), 300);
    YProfileBlob blob;
    ASSERT_TRUE(blob.Init(key.get(), u"State"));
    EXPECT_EQ(blob.Get(), bytes);
    Bytes edited = bytes;
    edited.back() = 0;
    for (const Bytes& change : {edited, Bytes(299, 0x5A)}) {
        blob.Set(change);
        EXPECT_TRUE(blob.IsChanged());
    }
    blob.Revert();
    EXPECT_EQ(blob.Get(), bytes);
    stored->writes = 0;
    ASSERT_TRUE(blob.Save(*key));
    EXPECT_EQ(stored->writes, 0);
}

}  // namespace
}  // namespace rivode::test

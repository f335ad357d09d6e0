#include "storage/CodePage1252.h"
#include "storage/TextCodec.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using rivode::storage::DecodeText;
using rivode::storage::EncodeText;
using rivode::storage::TextDecodeResult;

TextDecodeResult DecodeUtf8(const std::string& bytes, YUnicodeString& text) {
    text.clear();
    return DecodeText(YTextFile::EncodingUtf8, bytes, text);
}

TEST(TextFileCodecTest, Utf8SequenceCutShortWaitsUnlessItIsAlreadyInvalid) {
    YUnicodeString text;
    // Could still be completed by the next bytes.
    for (const std::string tail : {"\xC3", "\xE2\x82", "\xF0\x9F\x98", "\xF4\x8F"}) {
        const TextDecodeResult result = DecodeUtf8("ab" + tail, text);
        EXPECT_EQ(result.consumed, 2u);
        EXPECT_FALSE(result.invalid);
        EXPECT_EQ(text, u"ab");
    }
    // No continuation can make these valid: overlong, surrogate, above U+10FFFF, bad leads.
    for (const std::string tail : {"\xE0\x80", "\xED\xA0", "\xF0\x80", "\xF4\x90", "\xF5", "\xC1",
                                   "\xE2\x28"}) {
        const TextDecodeResult result = DecodeUtf8("ab" + tail, text);
        EXPECT_EQ(result.consumed, 2u);
        EXPECT_TRUE(result.invalid) << "tail of " << tail.size() << " bytes";
    }
}

TEST(TextFileCodecTest, Utf8DecodesEveryCodePointAsTheStrictConverterDoes) {
    YUnicodeString all;
    for (char32_t c = 1; c <= 0x10FFFF; c += (c < 0x3000 ? 1 : 97)) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        if (c < 0x10000) {
            all.push_back(static_cast<char16_t>(c));
        } else {
            all.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            all.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    std::string bytes;
    ASSERT_TRUE(EncodeText(YTextFile::EncodingUtf8, all, bytes));
    std::string expected;
    ASSERT_TRUE(rivode::ToUtf8Strict(all, expected));
    EXPECT_EQ(bytes, expected);
    YUnicodeString decoded;
    const TextDecodeResult result = DecodeUtf8(bytes, decoded);
    EXPECT_EQ(result.consumed, bytes.size());
    EXPECT_FALSE(result.invalid);
    EXPECT_EQ(decoded, all);
}

TEST(TextFileCodecTest, CodePageBytesRoundTripAndOnlyThoseCharactersEncode) {
    std::string everyByte;
    for (unsigned b = 0; b < 256; ++b) {
        everyByte.push_back(static_cast<char>(b));
    }
    YUnicodeString text;
    EXPECT_EQ(DecodeText(YTextFile::EncodingCodePage, everyByte, text).consumed, 256u);
    std::string encoded;
    ASSERT_TRUE(EncodeText(YTextFile::EncodingCodePage, text, encoded));
    EXPECT_EQ(encoded, everyByte);
    int encodable = 0;
    for (unsigned c = 0; c < 0x10000; ++c) {
        unsigned char byte;
        if (rivode::storage::UnicodeToCodePage1252(static_cast<char16_t>(c), byte)) {
            ++encodable;
            EXPECT_EQ(rivode::storage::kCodePage1252ToUnicode[byte], c);
        }
    }
    EXPECT_EQ(encodable, 256);
}

TEST(TextFileCodecTest, ByteOrderMarksAreProbedInOrder) {
    std::size_t length = 0;
    EXPECT_EQ(rivode::storage::DetectByteOrderMark("\xEF\xBB\xBFx", length),
              YTextFile::EncodingUtf8);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(rivode::storage::DetectByteOrderMark("\xFF\xFE", length),
              YTextFile::EncodingUtf16LE);
    EXPECT_EQ(rivode::storage::DetectByteOrderMark("\xFE\xFF\0", length),
              YTextFile::EncodingUtf16BE);
    EXPECT_EQ(rivode::storage::DetectByteOrderMark("\xEF\xBB", length),
              YTextFile::EncodingCodePage);
    EXPECT_EQ(length, 0u);
}

}  // namespace

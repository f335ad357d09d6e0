#include "storage/CodePage1252.h"
#include "storage/TextCodec.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using rivode::storage::DecodeText;
using rivode::storage::TextDecodeResult;

TEST(TextFileCodecTest, Utf8SequenceCutShortWaitsUnlessNoContinuationCanMendIt) {
    YUnicodeString text;
    for (const std::string tail : {"\xC3", "\xE2\x82", "\xF0\x9F\x98", "\xF4\x8F"}) {
        text.clear();
        const TextDecodeResult result = DecodeText(YTextFile::EncodingUtf8, "ab" + tail, text);
        EXPECT_EQ(result.consumed, 2u);
        EXPECT_FALSE(result.invalid);
        EXPECT_EQ(text, u"ab");
    }
    // Overlong, surrogate, above U+10FFFF, bad leads, a non-continuation byte.
    for (const std::string tail : {"\xE0\x80", "\xED\xA0", "\xF0\x80", "\xF4\x90", "\xF5", "\xC1",
                                   "\xE2\x28"}) {
        const TextDecodeResult result = DecodeText(YTextFile::EncodingUtf8, "ab" + tail, text);
        EXPECT_EQ(result.consumed, 2u);
        EXPECT_TRUE(result.invalid) << "tail of " << tail.size() << " bytes";
    }
}

TEST(TextFileCodecTest, ExactlyTheCodePageCharactersEncodeAndEachToItsOwnByte) {
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

}  // namespace

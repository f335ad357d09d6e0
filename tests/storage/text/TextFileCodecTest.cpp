#include "storage/text/CodePage1252.h"

#include <gtest/gtest.h>

namespace {

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

#include "storage/text/CodePage1252.h"

namespace rivode::storage {
namespace {

// Bytes 0x80-0x9F; the rest of the code page is Latin-1.
constexpr char16_t kHighRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> MakeDecodeTable() {
    std::array<char16_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        table[b] = b >= 0x80 && b < 0xA0 ? kHighRange[b - 0x80] : static_cast<char16_t>(b);
    }
    return table;
}

}  // namespace

const std::array<char16_t, 256> kCodePage1252ToUnicode = MakeDecodeTable();

bool UnicodeToCodePage1252(char16_t c, unsigned char& byte) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<unsigned char>(c);
        return true;
    }
    for (unsigned i = 0; i < 32; ++i) {
        if (kHighRange[i] == c) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

}  // namespace rivode::storage

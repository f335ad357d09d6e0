#include <RivodeRavudaVU/YProfileLogFont.h>

#include "storage/text/CodePage1252.h"

#include <algorithm>

namespace {

// The fields both stored forms share, before the face name.
void WriteMetrics(const YLogFont& font, YLittleEndianWriter& out) {
    out.PutInt32(font.height);
    out.PutInt32(font.width);
    out.PutInt32(font.escapement);
    out.PutInt32(font.orientation);
    out.PutInt32(font.weight);
    out.PutUInt8(font.italic);
    out.PutUInt8(font.underline);
    out.PutUInt8(font.strikeOut);
    out.PutUInt8(font.charSet);
    out.PutUInt8(font.outPrecision);
    out.PutUInt8(font.clipPrecision);
    out.PutUInt8(font.quality);
    out.PutUInt8(font.pitchAndFamily);
}

void ReadMetrics(YLittleEndianReader& in, YLogFont& font) {
    font.height = in.GetInt32();
    font.width = in.GetInt32();
    font.escapement = in.GetInt32();
    font.orientation = in.GetInt32();
    font.weight = in.GetInt32();
    font.italic = in.GetUInt8();
    font.underline = in.GetUInt8();
    font.strikeOut = in.GetUInt8();
    font.charSet = in.GetUInt8();
    font.outPrecision = in.GetUInt8();
    font.clipPrecision = in.GetUInt8();
    font.quality = in.GetUInt8();
    font.pitchAndFamily = in.GetUInt8();
}

}  // namespace

std::u16string_view YLogFont::GetFaceName() const {
    const auto end = std::find(faceName.begin(), faceName.end(), u'\0');
    return std::u16string_view(faceName.data(), static_cast<std::size_t>(end - faceName.begin()));
}

void YLogFont::SetFaceName(std::u16string_view name) {
    faceName.fill(u'\0');
    const std::size_t length = std::min(name.size(), kFaceNameLength - 1);
    std::copy_n(name.begin(), length, faceName.begin());
}

void YBinaryLayout<YLogFont>::Write(const YLogFont& font, std::uint8_t* out) {
    YLittleEndianWriter writer(out);
    WriteMetrics(font, writer);
    for (char16_t unit : font.faceName) {
        writer.PutUInt16(unit);
    }
    writer.PutInt32(font.extra);
}

void YBinaryLayout<YLogFont>::Read(const std::uint8_t* in, YLogFont& font) {
    YLittleEndianReader reader(in);
    ReadMetrics(reader, font);
    for (char16_t& unit : font.faceName) {
        unit = reader.GetUInt16();
    }
    font.extra = reader.GetInt32();
}

// The older form is never stored; this gives the image of the current value that a shorter
// older block overlays. Characters the code page cannot hold become '?'.
void YLegacyLogFontLayout::Write(const YLogFont& font, std::uint8_t* out) {
    YLittleEndianWriter writer(out);
    WriteMetrics(font, writer);
    for (char16_t unit : font.faceName) {
        unsigned char byte = 0;
        writer.PutUInt8(rivode::storage::UnicodeToCodePage1252(unit, byte) ? byte : '?');
    }
    writer.PutInt32(font.extra);
}

void YLegacyLogFontLayout::Read(const std::uint8_t* in, YLogFont& font) {
    YLittleEndianReader reader(in);
    ReadMetrics(reader, font);
    for (char16_t& unit : font.faceName) {
        unit = rivode::storage::kCodePage1252ToUnicode[reader.GetUInt8()];
    }
    font.extra = reader.GetInt32();
}

bool YProfileCodec<YLogFont, YProfileBinary>::Read(const YProfileBinary& storage,
                                                   const YProfileKey& key, YLogFont& value,
                                                   bool& converted) {
    using Current = YBinaryLayout<YLogFont>;
    std::array<std::uint8_t, Current::kSize> image;
    Current::Write(value, image.data());
    std::uint32_t size = Current::kSize;
    if (storage.ReadBinary(key, image.data(), size)) {
        Current::Read(image.data(), value);
        return true;
    }

    const YUnicodeString& name = storage.GetName();
    const std::size_t suffix = name.find(YLegacyLogFontLayout::kNameSuffix);
    if (suffix == YUnicodeString::npos) {
        return false;
    }
    std::array<std::uint8_t, YLegacyLogFontLayout::kSize> legacy;
    YLegacyLogFontLayout::Write(value, legacy.data());
    std::uint32_t legacySize = YLegacyLogFontLayout::kSize;
    if (!key.GetBinary(std::u16string_view(name).substr(0, suffix), legacy.data(), legacySize)) {
        return false;
    }
    YLegacyLogFontLayout::Read(legacy.data(), value);
    converted = true;
    return true;
}

bool YProfileCodec<YLogFont, YProfileBinary>::Write(const YProfileBinary& storage,
                                                    const YProfileKey& key, const YLogFont& value) {
    using Current = YBinaryLayout<YLogFont>;
    std::array<std::uint8_t, Current::kSize> image;
    Current::Write(value, image.data());
    return storage.WriteBinary(key, image.data(), Current::kSize);
}

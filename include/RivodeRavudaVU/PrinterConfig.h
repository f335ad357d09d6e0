// PrinterConfig: one set of printing settings. The application-wide set lives in the global key
// (GlobalConfig::printerConfig), and every session holds its own (SessionConfig::printerConfig),
// used unless the session's "Use Global Print Settings" is on. The values are those of
// PrinterConfigValues.inc, under the same names in both keys.
//
// A record is used by one thread at a time; the table is shared and read-only.
#pragma once

#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileBinaryLayout.h>
#include <RivodeRavudaVU/YProfileLogFont.h>
#include <RivodeRavudaVU/YProfileTable.h>

#include <bit>
#include <cstdint>

#pragma GCC visibility push(default)

// Page margins in inches.
struct YMarginData {
    double left = 0.5;
    double right = 0.5;
    double top = 0.5;
    double bottom = 0.5;

    bool operator==(const YMarginData&) const = default;
};

// Stored as four IEEE-754 doubles, little-endian: left, right, top, bottom (32 bytes).
template <>
struct YBinaryLayout<YMarginData> {
    static constexpr std::size_t kSize = 32;
    static void Write(const YMarginData& margins, std::uint8_t* out) {
        YLittleEndianWriter writer(out);
        for (const double value : {margins.left, margins.right, margins.top, margins.bottom}) {
            const auto bits = std::bit_cast<std::uint64_t>(value);
            writer.PutUInt32(static_cast<std::uint32_t>(bits));
            writer.PutUInt32(static_cast<std::uint32_t>(bits >> 32));
        }
    }
    static void Read(const std::uint8_t* in, YMarginData& margins) {
        YLittleEndianReader reader(in);
        for (double* value : {&margins.left, &margins.right, &margins.top, &margins.bottom}) {
            const std::uint64_t low = reader.GetUInt32();
            *value = std::bit_cast<double>(low | (std::uint64_t{reader.GetUInt32()} << 32));
        }
    }
};

using YProfileMarginData = YProfile2<YMarginData, YProfileBinary>;

class PrinterConfig : public YProfileTableRecord<PrinterConfig> {
public:
#define RIVODE_PRINTER_VALUE(Type, member, name, ...) Type member;
#include <RivodeRavudaVU/PrinterConfigValues.inc>
#undef RIVODE_PRINTER_VALUE

    // Every value at its default, as a record loaded without a store.
    PrinterConfig();
    PrinterConfig(const PrinterConfig&) = default;
    PrinterConfig& operator=(const PrinterConfig&) = delete;

    static const YProfileTable<PrinterConfig>& Table();
    // "Courier New", 10 point, normal weight, fixed pitch of the modern family.
    static YLogFont DefaultFont();
};

#pragma GCC visibility pop

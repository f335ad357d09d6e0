#include <RivodeRavudaVU/PrinterConfig.h>

PrinterConfig::PrinterConfig() {
    Init(nullptr);
}

const YProfileTable<PrinterConfig>& PrinterConfig::Table() {
    static const YProfileTable<PrinterConfig> table = [] {
        YProfileTable<PrinterConfig> rows;
#define RIVODE_PRINTER_VALUE(Type, member, name, ...) \
    rows.Add(&PrinterConfig::member, name, __VA_ARGS__);
#include <RivodeRavudaVU/PrinterConfigValues.inc>
#undef RIVODE_PRINTER_VALUE
        return rows;
    }();
    return table;
}

YLogFont PrinterConfig::DefaultFont() {
    constexpr std::int32_t kTenPointHeight = -13;  // 10 points at 96 dots per inch
    constexpr std::int32_t kNormalWeight = 400;
    constexpr std::uint8_t kFixedPitchModernFamily = 0x01 | 0x30;
    YLogFont font;
    font.height = kTenPointHeight;
    font.weight = kNormalWeight;
    font.pitchAndFamily = kFixedPitchModernFamily;
    font.SetFaceName(u"Courier New");
    return font;
}

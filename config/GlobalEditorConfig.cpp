#include <RivodeRavudaVU/GlobalEditorConfig.h>

const YProfileTable<GlobalEditorConfig>& GlobalEditorConfig::Table() {
    using R = GlobalEditorConfig;
    static const auto table =
        YProfileTable<R>()
            .Add(&R::font, u"Editor Font", DefaultFont())
            .Add(&R::colors, u"Editor Colors", 0)
            .Add(&R::colorScheme, u"Editor Color Scheme", u"")
            .Add(&R::wordWrap, u"Editor Word Wrap", false)
            .Add(&R::displaysLineNumbers, u"Editor Displays Line Numbers", true);
    return table;
}

YLogFont GlobalEditorConfig::DefaultFont() {
    constexpr std::int32_t kPixelHeight = -13;  // negative: the height of the characters
    constexpr std::int32_t kNormalWeight = 400;
    constexpr std::uint8_t kFixedPitch = 1;
    YLogFont font;
    font.height = kPixelHeight;
    font.weight = kNormalWeight;
    font.pitchAndFamily = kFixedPitch;
    font.SetFaceName(u"Lucida Console");
    return font;
}

// GlobalEditorConfig: the font, colors and layout of the built-in text editor (scratchpads,
// remote editing), stored in the key "Global" beside the main values.
#pragma once

#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfileLogFont.h>
#include <RivodeRavudaVU/YProfileTable.h>

#pragma GCC visibility push(default)

class GlobalEditorConfig : public YProfileTableRecord<GlobalEditorConfig> {
public:
    YProfileLogFont font;
    YProfile<std::uint32_t> colors;
    YProfileString colorScheme;
    YProfile<bool> wordWrap;
    YProfile<bool> displaysLineNumbers;

    static const YProfileTable<GlobalEditorConfig>& Table();

    // The fixed-pitch font text views start with: "Lucida Console" at 13 pixels, normal
    // weight. Where the face is not installed the font matcher picks the closest monospace one.
    static YLogFont DefaultFont();
};

#pragma GCC visibility pop

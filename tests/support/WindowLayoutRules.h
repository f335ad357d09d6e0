// Rules a shown window must pass to look right: what a person would notice first in a
// screenshot. Dialog tests render their windows offscreen and check every page with them.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace rivode::test {

// Every fault found in window as it is laid out now, one line each ("QLabel 'name': text
// 'Host name:' needs 71 px, has 40"); empty when the window passes:
// - every visible widget lies inside its parent (nothing cut off);
// - every label's and button's text fits its widget;
// - no two visible widgets of one layout overlap.
// Widgets inside a scrolling area's viewport may extend beyond it: that is what scrolling is for.
std::vector<std::string> CheckWindowLayout(const QWidget& window);

// False when the font database is empty: Qt then draws every glyph as a box, text widths mean
// nothing, and the rules above cannot be judged.
bool HaveFonts();

}  // namespace rivode::test

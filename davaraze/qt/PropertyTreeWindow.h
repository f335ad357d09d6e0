// The window of a property-tree dialog: the tree of shown pages on the left, the active page
// beside it, OK and Cancel below.
#pragma once

class YPropertyTreeDialog;

namespace davaraze::qt {

// Runs dialog modally and returns how it ended. Each page's widget is made once, when the page
// is first shown in the tree; pages shown or hidden while the window is open join or leave the
// tree.
int RunQtPropertyTree(YPropertyTreeDialog& dialog);

}  // namespace davaraze::qt

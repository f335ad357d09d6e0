// What the library needs from rivode-gui before a window opens.
#pragma once

#include "cli/ConfigFolder.h"

#include <RivodeRavudaVU/ProductNumbers.h>

namespace rivode::ui {

// The product rivode-gui acts for, as rivode does by default: the terminal product.
inline constexpr int kGuiProduct = kProductQuillterm;

// Initialises the library for a host with a window system that shares the passphrase, makes
// the folders the store every library call opens by default, registers the host's message
// table, names the application, and makes Qt windows the user interface of message boxes,
// progress and dialogs. A QApplication must exist.
void PrepareGuiHost(const cli::StoreFolders& folders, int product);

}  // namespace rivode::ui

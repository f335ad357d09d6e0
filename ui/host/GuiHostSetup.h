// What the library needs from rivode-gui before a window opens.
#pragma once

#include <RivodeRavudaVU/HostSetup.h>

#include <string_view>

#include <RivodeRavudaVU/ProductNumbers.h>

namespace rivode::ui {

// One application with rivode: the same registry key, so both find the same folders.
inline constexpr std::u16string_view kGuiAppName = u"rivode";

// The product rivode-gui acts for, as rivode does by default: the terminal product.
inline constexpr int kGuiProduct = kProductQuillterm;

// Prepares the library as every host does (PrepareHost), for a host with a window system that
// shares the passphrase; registers the host's message table and makes Qt windows the user
// interface of message boxes, progress and dialogs. A QApplication must exist.
void PrepareGuiHost(const HostFolders& folders, int product);

}  // namespace rivode::ui

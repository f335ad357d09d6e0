// Checks of a folder the user proposes as the configuration folder, and of dialog modes.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#pragma GCC visibility push(default)

class QWidget;
class IReportMessageParams;

// Accepts a folder that is usable as the configuration folder now or can be made so: an
// absolute path whose existing part is made of folders, that this user can write in when it
// exists, or whose missing part can be created in its nearest existing folder. Refuses (false,
// report filled, %1 the folder) an empty text, a relative path, control characters, a name
// longer than the volume allows, a path through a file, a folder that cannot be written, or one
// that cannot be created. Trailing separators are ignored. Leaves nothing behind: the write and
// create checks remove what they made.
[[nodiscard]] bool IsValidConfigFolder(const YUnicodeString& folder, IReportMessageParams& report);

// The dialog form: on refusal also shows the report to the user (warning icon) before
// returning false, so the page can keep the focus on the folder field.
[[nodiscard]] bool YDDV_ValidateConfigFolder(QWidget* parent, const YUnicodeString& folder,
                                             IReportMessageParams& report);

// Modes of the session options dialog.
inline constexpr int kYDialogModeReadOnly = 2;  // a session in use by a locked session
inline constexpr int kYDialogModeDefaultSession = 3;
inline constexpr int kYDialogModeMultipleSessions = 4;

// Whether a dialog in that mode may be browsed only.
bool YIsReadOnly(int mode);

#pragma GCC visibility pop

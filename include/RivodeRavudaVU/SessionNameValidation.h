// The rules for names users give to sessions, folders and other named configuration items.
// Names become file and folder names of the configuration folder, so they must not hold a path
// separator or any character a file name on another platform cannot hold, must not be made only
// of dots, and must not be a device name that some file systems reserve.
//
// Call from the host's user-interface thread: the validators that show their failure do so in
// a message box.
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <optional>
#include <string_view>

#pragma GCC visibility push(default)

class QWidget;

// The first of the characters no name may hold, tested in the order \ / : * ? " < > |;
// nullopt when the name holds none of them.
std::optional<char16_t> FindIllegalNameCharacter(std::u16string_view name);

// Checks a new or changed session or folder name and shows the first failure over parent.
// path: for a new item the folder it goes into ("Work\" or empty); for a rename the item's own
// path ("Work\Server"), whose part up to its last "\" is the folder. A rename that keeps the
// name, or only changes its letter case, does not count as taking a name in use. The name must
// also be one the registered profile store can hold as a key name.
[[nodiscard]] bool ValidateSessionName(const YUnicodeString& path, const YUnicodeString& oldName,
                                       const YUnicodeString& newName, bool isNew, QWidget* parent);

// The illegal-character rule alone, for local file names; the failure is shown with a warning.
[[nodiscard]] bool ValidateLocalFilename(const char16_t* name);

// The same rules for any named configuration item, for a caller that has looked up whether an
// item of the new name exists (targetExists). itemKind is the word for the item inserted into
// the messages ("session", "folder"). false with the first failure in report.
[[nodiscard]] bool ValidateKeyName(const YUnicodeString& oldName, const YUnicodeString& newName,
                                   bool isNew, const YUnicodeString& itemKind, bool targetExists,
                                   YReportMessageParams& report);

#pragma GCC visibility pop

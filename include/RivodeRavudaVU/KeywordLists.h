// The keyword lists stored under "Keywords" (beside "Sessions") of the registered default
// store, one key a list, and the list a session's "Keyword Set" names.
//
// Names compare without regard to letter case. Functions that change the store return false
// with the reason in report and show nothing, except ValidateKeywordListName's dialog form.
#pragma once

#include <RivodeRavudaVU/HighlightConfig.h>
#include <RivodeRavudaVU/ISessionConfig.h>

#pragma GCC visibility push(default)

class QWidget;

YStringArray GetKeywordListNames();
// The list called name, loaded; storedName receives the spelling of its key. null with report
// filled when there is none, or when its key could not be read.
YRefPtr<HighlightConfig> OpenKeywordList(const YUnicodeString& name, YReportMessageParams& report,
                                         YUnicodeString* storedName = nullptr);
// Writes list under name, making the key when there is none yet.
[[nodiscard]] bool SaveKeywordList(const YUnicodeString& name, HighlightConfig& list,
                                   YReportMessageParams& report);
// Removes the list's key. Sessions that name it keep the name.
[[nodiscard]] bool DeleteKeywordList(const YUnicodeString& name, YReportMessageParams& report);
// Renames the list's key. Sessions that name it keep the old name.
[[nodiscard]] bool RenameKeywordList(const YUnicodeString& oldName, const YUnicodeString& newName,
                                     YReportMessageParams& report);

// A new or changed list name: the rules of session names, checked inside "Keywords". A rename
// that only changes letter case is allowed. false with the first failure in report.
[[nodiscard]] bool ValidateKeywordListName(const YUnicodeString& oldName,
                                           const YUnicodeString& newName, bool isNew,
                                           YReportMessageParams& report);
// The same, showing the failure to the user over parent.
[[nodiscard]] bool ValidateKeywordListName(const YUnicodeString& oldName,
                                           const YUnicodeString& newName, bool isNew,
                                           QWidget* parent);

// The list session's "Keyword Set" names; null when it names none that is stored.
YRefPtr<HighlightConfig> OpenSessionKeywordList(const ISessionConfig& session);

#pragma GCC visibility pop

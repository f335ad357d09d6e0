// The companion library sits below the message table and takes its labels and report texts
// through a loader that the table's owner registers. Registering when this library is loaded
// gives every host the texts in its language, whether or not it initialises anything else.
#include <DavaraZE/YMessageStrings.h>
#include <RivodeRavudaVU/YMessageTable.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

namespace {

YUnicodeString LoadCompanionText(std::uint32_t id) {
    std::u16string_view raw;
    if (!rivode::GetLibraryMessageTable().FindText(id, raw)) {
        return {};  // the companion library falls back to its own English text
    }
    return LoadMessageString(id);
}

// Withdrawn again when this library is unloaded, so the companion library never calls into
// code that is gone.
struct Registration {
    Registration() { YSetMessageStringLoader(&LoadCompanionText); }
    ~Registration() { YSetMessageStringLoader(nullptr); }
} registration;

}  // namespace

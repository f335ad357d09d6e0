#include <RivodeRavudaVU/EmulationNames.h>
#include <RivodeRavudaVU/ProductNumbers.h>

#include <algorithm>
#include <atomic>

namespace {

std::vector<YUnicodeString> MakeNames(bool withServerEmulation) {
    std::vector<YUnicodeString> names = {u"VT100",  u"VT102",   u"VT220",  u"VT320",  u"ANSI",
                                         u"Linux",  u"SCOANSI", u"Xterm",  u"TN3270", u"WYSE50",
                                         u"WYSE60", u"TVI910",  u"TVI925", u"Dumb"};
    if (withServerEmulation) {
        names.emplace_back(u"Brackenhold");
    }
    return names;
}

// Both tables are built once and never change, and a rebuild only switches which one is
// current: a reader on another thread never sees a table half-built, and the references handed
// out never dangle.
const std::vector<YUnicodeString>& AllEmulations() {
    static const std::vector<YUnicodeString> names = MakeNames(true);
    return names;
}

const std::vector<YUnicodeString>& EmulationsWithoutServer() {
    static const std::vector<YUnicodeString> names = MakeNames(false);
    return names;
}

std::atomic<const std::vector<YUnicodeString>*> currentNames{nullptr};

}  // namespace

void BuildEmulationNameTables(int product) {
    currentNames.store(product == kProductQtm ? &EmulationsWithoutServer() : &AllEmulations(),
                       std::memory_order_release);
}

const std::vector<YUnicodeString>& GetEmulationNames() {
    const std::vector<YUnicodeString>* names = currentNames.load(std::memory_order_acquire);
    return names != nullptr ? *names : AllEmulations();
}

bool IsEmulationName(std::u16string_view name) {
    const std::vector<YUnicodeString>& names = GetEmulationNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

#include <RivodeRavudaVU/YMessageTable.h>

#include "platform/Environment.h"

#include <atomic>

namespace rivode {
namespace {

std::atomic<std::uint16_t> chosenLanguage{0};
std::atomic<const YMessageTable*> hostTable{nullptr};

}  // namespace

std::uint16_t MessageLanguageFromLocale(std::string_view localeName) {
    // "fr_CA", "fr_CA.UTF-8", "fr_CA.ISO-8859-1@euro": the codeset and modifier do not change
    // the language.
    constexpr std::string_view kFrenchCanada = "fr_CA";
    if (localeName.substr(0, kFrenchCanada.size()) != kFrenchCanada) {
        return kMessageLanguageEnglish;
    }
    const std::string_view rest = localeName.substr(kFrenchCanada.size());
    return rest.empty() || rest[0] == '.' || rest[0] == '@' ? kMessageLanguageFrenchCanada
                                                            : kMessageLanguageEnglish;
}

std::uint16_t GetMessageLanguage() {
    if (const std::uint16_t language = chosenLanguage.load(std::memory_order_relaxed)) {
        return language;
    }
    // Read each time rather than cached: texts are made rarely, and a host (or a test) that
    // sets the locale before its first report then gets the language it asked for.
    return MessageLanguageFromLocale(platform::GetMessageLocale());
}

void SetMessageLanguage(std::uint16_t language) {
    chosenLanguage.store(language, std::memory_order_relaxed);
}

void RegisterHostMessageTable(const YMessageTable* table) {
    hostTable.store(table, std::memory_order_release);
}

const YMessageTable* GetHostMessageTable() {
    return hostTable.load(std::memory_order_acquire);
}

}  // namespace rivode

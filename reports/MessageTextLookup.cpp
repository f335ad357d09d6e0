#include "reports/MessageTextLookup.h"

#include <RivodeRavudaVU/YMessageTable.h>

#include "platform/SystemError.h"

#include <climits>
#include <string>

namespace rivode::reports {
namespace {

void FormatRawText(std::u16string_view raw, std::span<const YUnicodeString> strings,
                   MessageFormatOptions options, YUnicodeString& out) {
    if (!options.ignoreInserts && FindHighestInsert(raw) <= strings.size() &&
        FormatMessageText(raw, strings, options, out)) {
        return;
    }
    options.ignoreInserts = true;
    (void)FormatMessageText(raw, {}, options, out);  // cannot fail with inserts ignored
}

bool LookUpSystemErrorText(std::uint32_t id, MessageFormatOptions options, YUnicodeString& out) {
    if ((id & kCustomerBit) != 0 || id > INT_MAX) {
        return false;
    }
    std::string text;
    if (!platform::GetSystemErrorText(static_cast<int>(id), text)) {
        return false;
    }
    YUnicodeString raw = FromUtf8(text);
    raw.append(u"\r\n");
    options.ignoreInserts = true;
    (void)FormatMessageText(raw, {}, options, out);
    return true;
}

}  // namespace

void LookUpMessageText(std::uint32_t id, YMessageSource source,
                       std::span<const YUnicodeString> strings, MessageFormatOptions options,
                       YUnicodeString& out) {
    if (LookUpSystemErrorText(id, options, out)) {
        return;
    }
    const std::uint16_t language = GetMessageLanguage();
    const YMessageTable* own = source != nullptr ? source : &GetLibraryMessageTable();
    for (const YMessageTable* table : {own, GetHostMessageTable()}) {
        std::u16string_view raw;
        if (table != nullptr && table->FindText(id, language, raw)) {
            FormatRawText(raw, strings, options, out);
            return;
        }
    }
    options.ignoreInserts = false;
    (void)FormatNumberInsert(kMissingTextFormat, id, false, out, options);
}

}  // namespace rivode::reports

// Where the text of a report comes from, in order: the operating system's text for an error
// number (customer bit clear), the report's source table, the host's table, and at last a text
// naming the id, so that a report always has text.
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>

#include "reports/MessageFormatter.h"

#include <span>

namespace rivode::reports {

inline constexpr std::uint32_t kCustomerBit = 0x20000000;

inline constexpr char16_t kMissingTextFormat[] =
    u"Could not retrieve the error text for error code 0x%1!08x!.\r\n";

// Formats the text of id with strings into out. Inserts are substituted only when the strings
// cover the highest insert the text references and every insert is well formed; otherwise the
// raw text is kept with its inserts as written.
void LookUpMessageText(std::uint32_t id, YMessageSource source,
                       std::span<const YUnicodeString> strings, MessageFormatOptions options,
                       YUnicodeString& out);

}  // namespace rivode::reports

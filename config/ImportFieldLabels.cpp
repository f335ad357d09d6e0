// The names of the text import's fields and delimiters as the user sees and chooses them.
#include <RivodeRavudaVU/FileSessionCreationWizard.h>
#include <RivodeRavudaVU/RivodeMessages.h>

namespace msg = rivode::msg;

namespace {

constexpr std::uint32_t kFieldLabels[kImportFieldCount] = {
    msg::FieldHostname, msg::FieldFolder,   msg::FieldSessionName, msg::FieldUsername,
    msg::FieldPassword, msg::FieldProtocol, msg::FieldEmulation};

}  // namespace

YUnicodeString GetImportFieldLabel(ImportField field) {
    const auto index = static_cast<std::size_t>(field);
    return index < kImportFieldCount ? LoadMessageString(kFieldLabels[index]) : YUnicodeString();
}

ImportField FindImportField(std::u16string_view label) {
    for (std::size_t i = 0; i < kImportFieldCount; ++i) {
        const auto field = static_cast<ImportField>(i);
        if (rivode::EqualsNoCase(label, GetImportFieldLabel(field))) {
            return field;
        }
    }
    return ImportField::Ignored;
}

YUnicodeString GetImportColumnTitle(ImportField field) {
    switch (field) {
        case ImportField::Hostname:
            return LoadMessageString(msg::HostnameColumn);
        case ImportField::SessionName:
            return LoadMessageString(msg::NameColumn);
        case ImportField::Protocol:
            return LoadMessageString(msg::ProtocolColumn);
        default:
            return GetImportFieldLabel(field);
    }
}

char16_t GetDelimiterCharacter(ImportDelimiter delimiter) {
    switch (delimiter) {
        case ImportDelimiter::Comma:
            return u',';
        case ImportDelimiter::Tab:
            return u'\t';
        case ImportDelimiter::Space:
            return u' ';
        case ImportDelimiter::Semicolon:
            return u';';
        case ImportDelimiter::None:
            break;
    }
    return 0;
}

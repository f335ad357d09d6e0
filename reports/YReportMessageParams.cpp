#include <RivodeRavudaVU/YReportMessageParams.h>

#include <RivodeRavudaVU/YMessageTable.h>

#include "reports/MessageFormatter.h"
#include "reports/MessageTextLookup.h"

#include <RivodeRavudaVU/RivodeMessages.h>

#include "platform/SystemError.h"

#include <string>

YReportMessageParams::YReportMessageParams() = default;

YReportMessageParams::YReportMessageParams(std::uint32_t id, YMessageSource source)
    : messageId_(id), source_(source) {}

YReportMessageParams::YReportMessageParams(const YReportMessageParams& other)
    : YUnknown<IReportMessageParams>(other),
      category_(other.category_),
      strings_(other.strings_),
      messageId_(other.messageId_),
      source_(other.source_),
      originText_(other.originText_),
      originNumber_(other.originNumber_),
      contextValue_(other.contextValue_) {}

YReportMessageParams& YReportMessageParams::operator=(const YReportMessageParams& other) {
    if (this == &other) {
        return *this;
    }
    // The category belongs to whoever routes this report, so it stays.
    strings_ = other.strings_;
    messageId_ = other.messageId_;
    source_ = other.source_;
    originText_ = other.originText_;
    originNumber_ = other.originNumber_;
    contextValue_ = other.contextValue_;
    cachedText_.clear();
    hasCachedText_ = false;
    combinedText_.clear();
    return *this;
}

YReportMessageParams::~YReportMessageParams() = default;

void YReportMessageParams::SetMessage(std::uint32_t id) {
    messageId_ = id;
    source_ = nullptr;
    strings_.clear();
    cachedText_.clear();
    hasCachedText_ = false;
    combinedText_.clear();
    originText_ = nullptr;
    originNumber_ = 0;
    contextValue_ = 0;
}

void YReportMessageParams::Assign(const IReportMessageParams* other) {
    if (const auto* report = dynamic_cast<const YReportMessageParams*>(other)) {
        *this = *report;
    }
}

std::uint32_t YReportMessageParams::GetMessageId() const {
    return messageId_;
}
void YReportMessageParams::SetMessageId(std::uint32_t id) {
    messageId_ = id;
}
std::int32_t YReportMessageParams::GetCategory() const {
    return category_;
}
void YReportMessageParams::SetCategory(std::int32_t category) {
    category_ = category;
}
std::uint64_t YReportMessageParams::GetContextValue() const {
    return contextValue_;
}
void YReportMessageParams::SetContextValue(std::uint64_t value) {
    contextValue_ = value;
}

void YReportMessageParams::AddString(const YUnicodeString& text) {
    strings_.push_back(text);
}

void YReportMessageParams::AddString(const char16_t* text) {
    strings_.emplace_back(text != nullptr ? text : u"");
}

void YReportMessageParams::AddString(const std::string& text) {
    strings_.push_back(rivode::FromUtf8(text));
}

void YReportMessageParams::AddString(const char* text) {
    strings_.push_back(text != nullptr ? rivode::FromUtf8(text) : YUnicodeString());
}

namespace {

// A format the formatter refuses still leaves the number readable, in decimal.
YUnicodeString FormatNumber(const char16_t* format, std::uint64_t number, bool is64Bit) {
    YUnicodeString text;
    if (format != nullptr && rivode::reports::FormatNumberInsert(format, number, is64Bit, text)) {
        return text;
    }
    (void)rivode::reports::FormatNumberInsert(u"%1!u!", number, is64Bit, text);
    return text;
}

}  // namespace

void YReportMessageParams::AddFormatted(const char16_t* format, std::uint32_t number) {
    strings_.push_back(FormatNumber(format, number, false));
}

void YReportMessageParams::AddFormatted(const char16_t* format, std::uint64_t number) {
    strings_.push_back(FormatNumber(format, number, true));
}

YMessageSource YReportMessageParams::GetSource() const {
    return source_;
}

// The cache does not remember the mode it was made in: once a text exists, every text slot
// returns it (trimmed in place by the trimmed slots) until the report is changed or assigned.
const char16_t* YReportMessageParams::FormatCached(bool singleLine) {
    if (!hasCachedText_) {
        rivode::reports::MessageFormatOptions options;
        options.singleLine = singleLine;
        rivode::reports::LookUpMessageText(messageId_, source_, strings_, options, cachedText_);
        hasCachedText_ = true;
    }
    return cachedText_.c_str();
}

const char16_t* YReportMessageParams::GetText() {
    return FormatCached(false);
}

const char16_t* YReportMessageParams::GetTextTrimmed() {
    FormatCached(false);
    if (cachedText_.ends_with(u"\r\n")) {
        cachedText_.resize(cachedText_.size() - 2);
    }
    return cachedText_.c_str();
}

const char16_t* YReportMessageParams::GetSingleLineText() {
    return FormatCached(true);
}

const char16_t* YReportMessageParams::GetSingleLineTextTrimmed() {
    FormatCached(true);
    if (cachedText_.ends_with(u' ')) {
        cachedText_.pop_back();
    }
    return cachedText_.c_str();
}

const char16_t* YReportMessageParams::GetTextWithOrigin(std::uint32_t combiningId) {
    const char16_t* text = GetText();
    if (originText_ == nullptr) {
        return text;
    }
    YReportMessageParams combined(combiningId);
    combined.AddString(text);
    combined.AddString(originText_);
    combined.AddFormatted(u"%1!d!", originNumber_);
    combinedText_ = combined.GetText();
    return combinedText_.c_str();
}

std::size_t YReportMessageParams::GetTextLength() const {
    return hasCachedText_ ? cachedText_.size() : 0;
}

const YStringArray& YReportMessageParams::GetStrings() const {
    return strings_;
}

void YReportMessageParams::SetOrigin(const char* originText, std::uint32_t originNumber) {
    originText_ = originText;
    originNumber_ = originNumber;
}

void SetSystemErrorReport(IReportMessageParams& report, int systemError) {
    // errno values are small and positive, so the customer bit stays clear.
    report.SetMessage(static_cast<std::uint32_t>(systemError));
}

namespace {
// Marks the context value of a report that carries a system error, so that an unrelated
// context value is never taken for one.
constexpr std::uint64_t kSystemCauseMark = 0x5359534500000000ULL;
}  // namespace

void SetFileErrorReport(IReportMessageParams& report, int systemError, std::string_view path) {
    report.SetMessage(rivode::msg::FileOperationFailed);
    report.AddString(std::string(path));
    std::string reason;
    if (!rivode::platform::GetSystemErrorText(systemError, reason)) {
        reason = "error " + std::to_string(systemError);
    }
    report.AddString(reason);
    report.SetContextValue(kSystemCauseMark | static_cast<std::uint32_t>(systemError));
}

void WrapReport(YReportMessageParams& report, std::uint32_t id,
                std::initializer_list<YUnicodeString> inserts, IReportMessageParams& cause) {
    const int systemError = GetSystemErrorCause(cause);
    const YUnicodeString reason = cause.GetSingleLineTextTrimmed();
    report.SetMessage(id);
    for (const YUnicodeString& insert : inserts) {
        report.AddString(insert);
    }
    report.AddString(reason);
    if (systemError != 0) {
        report.SetContextValue(kSystemCauseMark | static_cast<std::uint32_t>(systemError));
    }
}

int GetSystemErrorCause(const IReportMessageParams& report) {
    const std::uint32_t id = report.GetMessageId();
    if (id != 0 && (id & 0x20000000u) == 0 && id < 0x10000u) {
        return static_cast<int>(id);
    }
    const std::uint64_t context = report.GetContextValue();
    if ((context & 0xffffffff00000000ULL) == kSystemCauseMark) {
        return static_cast<int>(context & 0xffffffffu);
    }
    return 0;
}

YUnicodeString LoadMessageString(std::uint32_t id, YMessageSource source) {
    rivode::reports::MessageFormatOptions options;
    options.ignoreInserts = true;
    options.singleLine = true;
    YUnicodeString text;
    rivode::reports::LookUpMessageText(id, source, {}, options, text);
    if (!text.empty() && text.back() == u' ') {
        text.pop_back();
    }
    return text;
}

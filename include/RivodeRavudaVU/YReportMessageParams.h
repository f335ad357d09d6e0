// Reports: a message id from a message table plus ordered insertion strings, formatted into
// text in the user's language only when the text is asked for.
//
// Message ids: bits 31-30 severity (01 information, 10 warning, 11 error), bit 29 the customer
// bit (1 for application messages, 0 for an operating-system error code, which on this platform
// is an errno value), bits 27-16 the facility (0x138 this library, 0x104 and 0x137 the host's
// own table), bits 15-0 the code.
//
// A report is used by one thread at a time; only its reference count is atomic.
#pragma once

#include <RivodeRavudaVU/YRefPtr.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#pragma GCC visibility push(default)

class YMessageTable;

// Where an id is looked up first. nullptr stands for this library's own table.
using YMessageSource = const YMessageTable*;

class IReportMessageParams : public IYUnknown {
public:
    static constexpr YInterfaceId kInterfaceId{"IReportMessageParams"};

    // Becomes a fresh report of that id in the library's own table: strings cleared, cached
    // text discarded, origin and context value cleared.
    virtual void SetMessage(std::uint32_t id) = 0;
    // Assignment when other is a YReportMessageParams; nothing otherwise.
    virtual void Assign(const IReportMessageParams* other) = 0;
    virtual std::uint32_t GetMessageId() const = 0;
    // Replaces the id only; strings and any cached text stay, so set the id before asking for
    // text.
    virtual void SetMessageId(std::uint32_t id) = 0;
    virtual std::int32_t GetCategory() const = 0;
    virtual void SetCategory(std::int32_t category) = 0;
    virtual std::uint64_t GetContextValue() const = 0;
    virtual void SetContextValue(std::uint64_t value) = 0;

    virtual void AddString(const YUnicodeString& text) = 0;
    virtual void AddString(const char16_t* text) = 0;
    // Narrow texts are UTF-8 on this platform.
    virtual void AddString(const std::string& text) = 0;
    virtual void AddString(const char* text) = 0;
    // Formats the number with an insert format such as u"%1!d!" or u"%1!08x!" and appends it.
    virtual void AddFormatted(const char16_t* format, std::uint32_t number) = 0;
    virtual void AddFormatted(const char16_t* format, std::uint64_t number) = 0;

    virtual YMessageSource GetSource() const = 0;

    // The returned texts stay valid until the report is changed, assigned or destroyed.
    virtual const char16_t* GetText() = 0;
    virtual const char16_t* GetTextTrimmed() = 0;
    virtual const char16_t* GetSingleLineText() = 0;
    virtual const char16_t* GetSingleLineTextTrimmed() = 0;
    virtual const char16_t* GetTextWithOrigin(std::uint32_t combiningId) = 0;
    virtual std::size_t GetTextLength() const = 0;
    virtual const YStringArray& GetStrings() const = 0;

protected:
    ~IReportMessageParams() = default;
};

class YReportMessageParams : public YUnknown<IReportMessageParams> {
public:
    YReportMessageParams();
    explicit YReportMessageParams(std::uint32_t id, YMessageSource source = nullptr);
    // Copies category, strings, id, source, origin and context value; never the cached text.
    YReportMessageParams(const YReportMessageParams& other);
    // Copies id, source, origin, context value and strings; keeps this report's category.
    YReportMessageParams& operator=(const YReportMessageParams& other);
    ~YReportMessageParams() override;

    void SetMessage(std::uint32_t id) override;
    void Assign(const IReportMessageParams* other) override;
    std::uint32_t GetMessageId() const override;
    void SetMessageId(std::uint32_t id) override;
    std::int32_t GetCategory() const override;
    void SetCategory(std::int32_t category) override;
    std::uint64_t GetContextValue() const override;
    void SetContextValue(std::uint64_t value) override;
    void AddString(const YUnicodeString& text) override;
    void AddString(const char16_t* text) override;
    void AddString(const std::string& text) override;
    void AddString(const char* text) override;
    void AddFormatted(const char16_t* format, std::uint32_t number) override;
    void AddFormatted(const char16_t* format, std::uint64_t number) override;
    YMessageSource GetSource() const override;
    const char16_t* GetText() override;
    const char16_t* GetTextTrimmed() override;
    const char16_t* GetSingleLineText() override;
    const char16_t* GetSingleLineTextTrimmed() override;
    const char16_t* GetTextWithOrigin(std::uint32_t combiningId) override;
    std::size_t GetTextLength() const override;
    const YStringArray& GetStrings() const override;

    // Names where the report arose (not owned: a string literal) and a number that goes with it.
    void SetOrigin(const char* originText, std::uint32_t originNumber);
    const char* GetOriginText() const { return originText_; }
    std::uint32_t GetOriginNumber() const { return originNumber_; }

    // Convenience: a report that is not a failure.
    bool IsSuccess() const { return messageId_ == 0; }

private:
    const char16_t* FormatCached(bool singleLine);

    std::int32_t category_ = -1;
    YStringArray strings_;
    std::uint32_t messageId_ = 0;
    YMessageSource source_ = nullptr;
    YUnicodeString cachedText_;
    bool hasCachedText_ = false;
    const char* originText_ = nullptr;
    std::uint32_t originNumber_ = 0;
    std::uint64_t contextValue_ = 0;
    YUnicodeString combinedText_;
};

// Fills report with an operating-system error (customer bit clear): the id is the errno value.
// The one place where an error number of the platform becomes a report.
void SetSystemErrorReport(IReportMessageParams& report, int systemError);

// Fills report with an operating-system failure on one file or folder: message
// FileOperationFailed with the path and the system's reason as inserts. The errno value stays
// readable through GetSystemErrorCause, so callers can count failures by cause.
void SetFileErrorReport(IReportMessageParams& report, int systemError, std::string_view path);

// Makes report say what failed at this layer (id with its inserts) and carry the text of the
// lower report cause as its last insert, so the user sees both the object and the reason.
// The cause's system error travels along. report and cause may not be the same object.
void WrapReport(YReportMessageParams& report, std::uint32_t id,
                std::initializer_list<YUnicodeString> inserts, IReportMessageParams& cause);

// The errno value behind a report: the id of an operating-system report, or the cause kept by
// SetFileErrorReport and WrapReport; 0 when the report does not come from a system failure.
int GetSystemErrorCause(const IReportMessageParams& report);

// The text of a message with inserts ignored, in single-line mode, trimmed of its final blank.
// Labels, column titles, filter names and dialog titles come from here; a "%1" in the text is
// left for the caller to fill.
YUnicodeString LoadMessageString(std::uint32_t id, YMessageSource source = nullptr);

#pragma GCC visibility pop

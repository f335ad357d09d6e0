// A report that holds an id and a ready text, standing in for the library's own report type,
// which lives above the companion library.
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>

#include <string>

namespace rivode::test {

class FakeReport final : public YUnknown<IReportMessageParams> {
public:
    FakeReport() = default;
    FakeReport(std::uint32_t id, YUnicodeString text) : id_(id), text_(std::move(text)) {}

    void SetMessage(std::uint32_t id) override {
        id_ = id;
        strings_.clear();
    }
    void Assign(const IReportMessageParams*) override {}
    std::uint32_t GetMessageId() const override { return id_; }
    void SetMessageId(std::uint32_t id) override { id_ = id; }
    std::int32_t GetCategory() const override { return -1; }
    void SetCategory(std::int32_t) override {}
    std::uint64_t GetContextValue() const override { return 0; }
    void SetContextValue(std::uint64_t) override {}
    void AddString(const YUnicodeString& text) override { strings_.push_back(text); }
    void AddString(const char16_t* text) override { strings_.emplace_back(text); }
    void AddString(const std::string& text) override { strings_.push_back(FromUtf8(text)); }
    void AddString(const char* text) override { strings_.push_back(FromUtf8(text)); }
    void AddFormatted(const char16_t*, std::uint32_t number) override {
        strings_.push_back(FromAscii(std::to_string(number)));
    }
    void AddFormatted(const char16_t*, std::uint64_t number) override {
        strings_.push_back(FromAscii(std::to_string(number)));
    }
    YMessageSource GetSource() const override { return nullptr; }
    const char16_t* GetText() override { return text_.c_str(); }
    const char16_t* GetTextTrimmed() override { return text_.c_str(); }
    const char16_t* GetSingleLineText() override { return text_.c_str(); }
    const char16_t* GetSingleLineTextTrimmed() override { return text_.c_str(); }
    const char16_t* GetTextWithOrigin(std::uint32_t) override { return text_.c_str(); }
    std::size_t GetTextLength() const override { return text_.size(); }
    const YStringArray& GetStrings() const override { return strings_; }

private:
    std::uint32_t id_ = 0;
    YUnicodeString text_;
    YStringArray strings_;
};

}  // namespace rivode::test

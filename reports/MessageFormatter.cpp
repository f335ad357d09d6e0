#include "reports/MessageFormatter.h"

#include "reports/InsertFormat.h"

#include <limits>

namespace rivode::reports {
namespace {

constexpr std::size_t kMaxInsertDigits = 2;

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// Where the insertion arguments come from: the report's strings, or one number (AddFormatted).
class InsertArguments {
public:
    explicit InsertArguments(std::span<const YUnicodeString> strings) : strings_(strings) {}
    InsertArguments(std::uint64_t number, bool is64Bit) : hasNumber_(true) {
        number_.isNumber = true;
        number_.number = number;
        number_.is64Bit = is64Bit;
    }
    bool Has(std::size_t number) const {
        return number >= 1 && (hasNumber_ || number <= strings_.size());
    }
    InsertValue Get(std::size_t number) const {
        if (hasNumber_) {
            return number_;
        }
        InsertValue value;
        value.text = strings_[number - 1];
        return value;
    }

private:
    std::span<const YUnicodeString> strings_;
    bool hasNumber_ = false;
    InsertValue number_;
};

class Formatter {
public:
    Formatter(std::u16string_view raw, const InsertArguments& arguments,
              MessageFormatOptions options, YUnicodeString& out)
        : raw_(raw), arguments_(arguments), options_(options), out_(out) {}

    bool Run() {
        out_.clear();
        out_.reserve(raw_.size() + 16);
        while (i_ < raw_.size()) {
            const char16_t c = raw_[i_];
            if (IsLineBreak(c)) {
                AppendLineBreak();
            } else if (c != u'%') {
                AppendPlainRun();
            } else if (!AppendEscape()) {
                return false;
            } else if (stopped_) {
                return true;
            }
        }
        return true;
    }

private:
    void AppendLineBreak() {
        i_ += raw_[i_] == u'\r' && i_ + 1 < raw_.size() && raw_[i_ + 1] == u'\n' ? 2 : 1;
        if (options_.singleLine) {
            out_.push_back(u' ');
        } else {
            out_.append(u"\r\n");
        }
    }

    void AppendPlainRun() {
        const std::size_t start = i_;
        while (i_ < raw_.size() && raw_[i_] != u'%' && !IsLineBreak(raw_[i_])) {
            ++i_;
        }
        out_.append(raw_, start, i_ - start);
    }

    // raw_[i_] is '%'.
    bool AppendEscape() {
        if (i_ + 1 == raw_.size()) {
            out_.push_back(u'%');  // a lone percent sign at the very end stands for itself
            ++i_;
            return true;
        }
        const char16_t next = raw_[i_ + 1];
        if (next >= u'1' && next <= u'9') {
            return AppendInsert();
        }
        if (IsLineBreak(next)) {
            ++i_;  // the percent sign is dropped; the line break is an ordinary one
            return true;
        }
        i_ += 2;
        switch (next) {
            case u'0':
                stopped_ = true;
                return true;
            case u'n':
                out_.append(u"\r\n");
                return true;
            case u'r':
                out_.push_back(u'\r');
                return true;
            case u't':
                out_.push_back(u'\t');
                return true;
            default:
                if (options_.ignoreInserts) {
                    out_.push_back(u'%');
                }
                out_.push_back(next);
                return true;
        }
    }

    // raw_[i_] is '%', raw_[i_ + 1] a digit 1-9.
    bool AppendInsert() {
        const std::size_t start = i_;
        std::size_t end = i_ + 1;
        std::size_t number = 0;
        while (end < raw_.size() && IsDigit(raw_[end])) {
            if (end - start <= kMaxInsertDigits) {
                number = number * 10 + (raw_[end] - u'0');
            }
            ++end;
        }
        const bool numberValid = end - start - 1 <= kMaxInsertDigits;
        std::u16string_view formatText = u"s";
        if (end < raw_.size() && raw_[end] == u'!') {
            const std::size_t close = raw_.find(u'!', end + 1);
            if (close != std::u16string_view::npos) {
                formatText = raw_.substr(end + 1, close - end - 1);
                end = close + 1;
            } else if (!options_.ignoreInserts) {
                return false;
            }
        }
        i_ = end;
        if (options_.ignoreInserts) {
            out_.append(raw_, start, end - start);
            return true;
        }
        InsertFormat format;
        if (!numberValid || !arguments_.Has(number) || !ParseInsertFormat(formatText, format)) {
            return false;
        }
        AppendFormattedInsert(format, arguments_.Get(number), out_);
        return true;
    }

    std::u16string_view raw_;
    const InsertArguments& arguments_;
    MessageFormatOptions options_;
    YUnicodeString& out_;
    std::size_t i_ = 0;
    bool stopped_ = false;
};

}  // namespace

std::size_t FindHighestInsert(std::u16string_view raw) {
    constexpr std::size_t kSaturated = std::numeric_limits<std::size_t>::max();
    std::size_t highest = 0;
    std::size_t i = 0;
    while (i + 1 < raw.size()) {
        if (raw[i] != u'%') {
            ++i;
            continue;
        }
        const char16_t next = raw[i + 1];
        if (next < u'1' || next > u'9') {
            i += 2;  // "%%", "%0" and the other escapes reference nothing
            continue;
        }
        std::size_t number = 0;
        for (i += 1; i < raw.size() && IsDigit(raw[i]); ++i) {
            const unsigned digit = raw[i] - u'0';
            number = number > (kSaturated - digit) / 10 ? kSaturated : number * 10 + digit;
        }
        if (number > highest) {
            highest = number;
        }
    }
    return highest;
}

bool FormatMessageText(std::u16string_view raw, std::span<const YUnicodeString> strings,
                       MessageFormatOptions options, YUnicodeString& out) {
    const InsertArguments arguments(strings);
    return Formatter(raw, arguments, options, out).Run();
}

bool FormatNumberInsert(std::u16string_view format, std::uint64_t number, bool is64Bit,
                        YUnicodeString& out, MessageFormatOptions options) {
    const InsertArguments arguments(number, is64Bit);
    return Formatter(format, arguments, options, out).Run();
}

}  // namespace rivode::reports

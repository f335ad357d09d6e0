#include "ProfileValueText.h"

#include "ValueData.h"
#include "ValueFormat.h"
#include "ValueParse.h"

#include <RivodeRavudaVU/YProfileBinaryLayout.h>
#include <RivodeRavudaVU/YProfileBlob.h>
#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileLogFont.h>
#include <RivodeRavudaVU/YProfileWindowPlacement.h>
#include <RivodeRavudaVU/YVariant.h>

#include <utility>

namespace rivode::cli {
namespace {

// A value ready to show: its type, and its content as a variant (binary values as their hex
// text, the encrypted value as its stored text).
struct ShownValue {
    ProfileValueType type;
    YVariant content;
};

template <class T>
bool LayoutBytes(const YProfileData& value, ByteBlock& bytes) {
    const auto* typed = dynamic_cast<const YProfile2<T, YProfileBinary>*>(&value);
    if (typed == nullptr) {
        return false;
    }
    bytes.resize(YBinaryLayout<T>::kSize);
    YBinaryLayout<T>::Write(typed->Get(), bytes.data());
    return true;
}

// A fixed-size record takes exactly its size; false when value is not of that record type.
template <class T>
bool SetLayoutBytes(YProfileData& value, const ByteBlock& bytes, std::string& problem, bool& done) {
    auto* typed = dynamic_cast<YProfile2<T, YProfileBinary>*>(&value);
    if (typed == nullptr) {
        return false;
    }
    done = bytes.size() == YBinaryLayout<T>::kSize;
    if (!done) {
        problem = "the value takes exactly " + std::to_string(YBinaryLayout<T>::kSize) +
                  " bytes, not " + std::to_string(bytes.size());
        return true;
    }
    T record = typed->Get();
    YBinaryLayout<T>::Read(bytes.data(), record);
    typed->Set(record);
    return true;
}

ByteBlock BinaryBytes(const YProfileData& value) {
    ByteBlock bytes;
    if (const auto* blob = dynamic_cast<const YProfileBlob*>(&value)) {
        bytes = blob->Get();
    } else if (!LayoutBytes<YLogFont>(value, bytes)) {
        LayoutBytes<YWindowPlacement>(value, bytes);
    }
    return bytes;
}

bool SetBinaryBytes(YProfileData& value, const ByteBlock& bytes, std::string& problem) {
    if (auto* blob = dynamic_cast<YProfileBlob*>(&value)) {
        blob->Set(bytes);
        return true;
    }
    bool done = false;
    if (SetLayoutBytes<YLogFont>(value, bytes, problem, done) ||
        SetLayoutBytes<YWindowPlacement>(value, bytes, problem, done)) {
        return done;
    }
    problem = "the value cannot be set here";
    return false;
}

ShownValue Show(const YProfileData& value) {
    if (const auto* encrypted = dynamic_cast<const YProfileEncryptedString*>(&value)) {
        return {ProfileValueType::Encrypted, YVariant(encrypted->GetEncryptedText())};
    }
    YVariant content;
    YReportMessageParams unsupported;
    if (value.GetNumberVariant(content, unsupported)) {
        switch (content.GetKind()) {
            case YVariant::Kind::Bool:
                return {ProfileValueType::Boolean, content};
            case YVariant::Kind::Int32:
                return {ProfileValueType::SignedNumber, content};
            default:
                return {ProfileValueType::Number, content};
        }
    }
    if (value.GetTextVariant(content, unsupported)) {
        const bool list = content.GetKind() == YVariant::Kind::List;
        return {list ? ProfileValueType::List : ProfileValueType::Text, content};
    }
    return {ProfileValueType::Binary, YVariant(FromAscii(FormatHexBytes(BinaryBytes(value))))};
}

std::vector<std::string> ListItems(const YVariant& content) {
    std::vector<std::string> items;
    for (const YVariant& item : content.GetList()) {
        YUnicodeString text;
        static_cast<void>(item.ToText(text));
        items.push_back(ToUtf8(text));
    }
    return items;
}

std::string ScalarText(const ShownValue& shown) {
    switch (shown.type) {
        case ProfileValueType::Boolean:
            return shown.content.GetAutomationBool() != 0 ? "true" : "false";
        case ProfileValueType::SignedNumber:
            return std::to_string(shown.content.GetInt32());
        case ProfileValueType::Number:
            return std::to_string(shown.content.GetUInt32());
        default:
            return ToUtf8(shown.content.GetText());
    }
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return EqualsNoCase(FromUtf8(a), FromUtf8(b));
}

bool ParseBoolean(const std::string& word, bool& value, std::string& problem) {
    for (const auto& [text, meaning] :
         {std::pair{"true", true}, {"false", false}, {"1", true}, {"0", false}}) {
        if (EqualsIgnoringCase(word, text)) {
            value = meaning;
            return true;
        }
    }
    problem = "\"" + word + "\" is not a boolean: give true, false, 1 or 0";
    return false;
}

bool ParseNumber(const std::string& word, bool isSigned, YVariant& number, std::string& problem) {
    const bool negative = isSigned && !word.empty() && word[0] == '-';
    std::uint32_t magnitude = 0;
    if (!ParseDwordText(negative ? std::string_view(word).substr(1) : word, magnitude, problem)) {
        problem = "\"" + word + "\" is not a number: give a decimal number" +
                  (isSigned ? " (a minus sign allowed)" : "") + " or a hexadecimal one after 0x";
        return false;
    }
    if (!isSigned) {
        number = YVariant(magnitude);
        return true;
    }
    const std::int64_t signedValue =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (!std::in_range<std::int32_t>(signedValue)) {
        problem = "\"" + word + "\" is out of the range of the value (-2147483648 to 2147483647)";
        return false;
    }
    number = YVariant(static_cast<std::int32_t>(signedValue));
    return true;
}

// One item a word, or a single word holding one item a line.
bool ParseListItems(const std::vector<std::string>& words, YVariant& list, std::string& problem) {
    std::vector<std::string> lines = words;
    if (words.size() == 1 && words[0].find('\n') != std::string::npos) {
        lines.clear();
        std::string_view rest = words[0];
        while (!rest.empty()) {
            const std::size_t end = rest.find('\n');
            std::string_view line = rest.substr(0, end);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            lines.emplace_back(line);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
    }
    YVariant::List items;
    for (const std::string& line : lines) {
        YUnicodeString item;
        if (!ParseValueText(line, item, problem)) {
            return false;
        }
        items.emplace_back(std::move(item));
    }
    list = YVariant(std::move(items));
    return true;
}

std::string JoinWords(const std::vector<std::string>& words) {
    std::string joined;
    for (const std::string& word : words) {
        joined += (joined.empty() ? "" : " ") + word;
    }
    return joined;
}

// Words that do not fit the value's type: the command line is wrong.
bool Malformed(std::string problem, CommandFailure& failure) {
    failure = UsageFailure(std::move(problem));
    return false;
}

// The value refused what the words gave (a number out of its range): the library's reason.
bool Refused(const YReportMessageParams& report, CommandFailure& failure) {
    failure = StoreFailure(ReportText(report, "the value refused it"));
    return false;
}

bool SetOneWord(YProfileData& value, ProfileValueType type, const std::string& word,
                CommandFailure& failure) {
    YReportMessageParams report;
    std::string problem;
    switch (type) {
        case ProfileValueType::Boolean: {
            bool on = false;
            if (!ParseBoolean(word, on, problem)) {
                return Malformed(problem, failure);
            }
            return value.SetNumberVariant(YVariant::FromBool(on), report) ||
                   Refused(report, failure);
        }
        case ProfileValueType::Number:
        case ProfileValueType::SignedNumber: {
            YVariant number;
            if (!ParseNumber(word, type == ProfileValueType::SignedNumber, number, problem)) {
                return Malformed(problem, failure);
            }
            return value.SetNumberVariant(number, report) || Refused(report, failure);
        }
        default: {
            YUnicodeString text;
            if (!ParseValueText(word, text, problem)) {
                return Malformed(problem, failure);
            }
            // Texts of a form of their own (tab states, layouts, times) refuse a malformed text.
            if (!value.SetTextVariant(YVariant(text), report)) {
                return Malformed("\"" + word + "\" is not of the form of this value, such as \"" +
                                     FormatProfileValueInline(value) + "\"",
                                 failure);
            }
            return true;
        }
    }
}

}  // namespace

ProfileValueType TypeOfProfileValue(const YProfileData& value) {
    return Show(value).type;
}

const char* ProfileValueTypeWord(ProfileValueType type) {
    switch (type) {
        case ProfileValueType::Boolean:
            return "boolean";
        case ProfileValueType::Number:
        case ProfileValueType::SignedNumber:
            return "number";
        case ProfileValueType::Text:
            return "text";
        case ProfileValueType::List:
            return "list";
        case ProfileValueType::Encrypted:
            return "encrypted";
        default:
            return "binary";
    }
}

nlohmann::json ProfileValueToJson(const YProfileData& value) {
    const ShownValue shown = Show(value);
    switch (shown.type) {
        case ProfileValueType::Boolean:
            return shown.content.GetAutomationBool() != 0;
        case ProfileValueType::SignedNumber:
            return shown.content.GetInt32();
        case ProfileValueType::Number:
            return shown.content.GetUInt32();
        case ProfileValueType::List:
            return ListItems(shown.content);
        default:
            return ScalarText(shown);
    }
}

std::vector<std::string> FormatProfileValueLines(const YProfileData& value) {
    const ShownValue shown = Show(value);
    if (shown.type == ProfileValueType::List) {
        return ListItems(shown.content);
    }
    return {ScalarText(shown)};
}

const char* ProfileValueSourceWord(const YProfileData& value) {
    return value.IsFromStore() ? "store" : "default";
}

nlohmann::json ProfileValueRowJson(const std::string& name, const YProfileData& value) {
    return {{"name", name},
            {"type", ProfileValueTypeWord(TypeOfProfileValue(value))},
            {"source", ProfileValueSourceWord(value)},
            {"value", ProfileValueToJson(value)}};
}

std::string ProfileValueRowLine(const std::string& name, const YProfileData& value) {
    return name + '\t' + ProfileValueTypeWord(TypeOfProfileValue(value)) + '\t' +
           ProfileValueSourceWord(value) + '\t' + FormatProfileValueInline(value);
}

void PrintProfileValue(const std::string& name, const YProfileData& value, bool json) {
    if (json) {
        PrintJson(ProfileValueRowJson(name, value));
        return;
    }
    for (const std::string& line : FormatProfileValueLines(value)) {
        PrintLine(line);
    }
}

std::string FormatProfileValueInline(const YProfileData& value) {
    const ShownValue shown = Show(value);
    if (shown.type != ProfileValueType::List) {
        return ScalarText(shown);
    }
    std::string line;
    for (const std::string& item : ListItems(shown.content)) {
        line += (line.empty() ? "" : " | ") + item;
    }
    return line;
}

bool SetProfileValue(YProfileData& value, const std::vector<std::string>& words,
                     CommandFailure& failure) {
    const ProfileValueType type = TypeOfProfileValue(value);
    std::string problem;
    switch (type) {
        case ProfileValueType::Encrypted:
            // Its stored text is a cipher text: a typed word would not decipher.
            return Malformed(
                "the value is encrypted: it is set from its plaintext, not its stored text",
                failure);
        case ProfileValueType::List: {
            YVariant list;
            if (!ParseListItems(words, list, problem)) {
                return Malformed(problem, failure);
            }
            YReportMessageParams report;
            return value.SetTextVariant(list, report) || Refused(report, failure);
        }
        case ProfileValueType::Binary: {
            ByteBlock bytes;
            if (!ParseHexBytes(JoinWords(words), bytes, problem) ||
                !SetBinaryBytes(value, bytes, problem)) {
                return Malformed(problem, failure);
            }
            return true;
        }
        default:
            if (words.size() != 1) {
                return Malformed("the value takes exactly one " +
                                     std::string(ProfileValueTypeWord(type)) + ", not " +
                                     std::to_string(words.size()) + " arguments",
                                 failure);
            }
            return SetOneWord(value, type, words[0], failure);
    }
}

}  // namespace rivode::cli

// YVariant: a value as the host's scripting layer hands it over: nothing, an automation boolean,
// a 32-bit integer (signed or unsigned), a text, or a list of values.
//
// The conversions follow the scripting layer's rules: a text converts to a number only when it
// is a decimal integer that fits, a number always converts to its decimal text, a boolean is
// given out as -1 (true) or 0 (false). A YVariant is a plain value; copy it freely.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <variant>
#include <vector>

#pragma GCC visibility push(default)

class YVariant {
public:
    enum class Kind { Empty, Bool, Int32, UInt32, Text, List };
    using List = std::vector<YVariant>;

    YVariant() = default;
    YVariant(std::int32_t number) : value_(number) {}
    YVariant(std::uint32_t number) : value_(number) {}
    YVariant(YUnicodeString text) : value_(std::move(text)) {}
    YVariant(const char16_t* text) : value_(YUnicodeString(text)) {}
    YVariant(List list) : value_(std::move(list)) {}
    // A separate factory: a constructor taking bool would catch every pointer and integer.
    static YVariant FromBool(bool value);

    Kind GetKind() const { return static_cast<Kind>(value_.index()); }
    bool IsEmpty() const { return GetKind() == Kind::Empty; }

    // Accessors for the kind the variant holds; each is only valid for that kind.
    std::int16_t GetAutomationBool() const { return std::get<AutomationBool>(value_).value; }
    std::int32_t GetInt32() const { return std::get<std::int32_t>(value_); }
    std::uint32_t GetUInt32() const { return std::get<std::uint32_t>(value_); }
    const YUnicodeString& GetText() const { return std::get<YUnicodeString>(value_); }
    const List& GetList() const { return std::get<List>(value_); }

    // Conversions; each returns false, leaving out unspecified, when the value cannot be
    // represented. Numbers: booleans give -1 or 0, texts must be a decimal integer (surrounding
    // blanks allowed), empty gives 0, lists fail.
    [[nodiscard]] bool ToInteger(std::int64_t& out) const;
    // Texts: numbers in decimal, booleans "True" or "False", empty gives "", lists fail.
    [[nodiscard]] bool ToText(YUnicodeString& out) const;
    // Booleans: any non-zero number is true; texts "True"/"False" (case ignored) or a number.
    [[nodiscard]] bool ToBool(bool& out) const;
    // Lists of texts: every element converted to text; a single value is a list of one, empty
    // is an empty list.
    [[nodiscard]] bool ToTextList(YStringArray& out) const;

    friend bool operator==(const YVariant& a, const YVariant& b);

private:
    struct AutomationBool {
        std::int16_t value;
        bool operator==(const AutomationBool&) const = default;
    };
    // The index order is the order of Kind.
    std::variant<std::monostate, AutomationBool, std::int32_t, std::uint32_t, YUnicodeString, List>
        value_;
};

#pragma GCC visibility pop

#include <RivodeRavudaVU/YVariant.h>

#include "storage/values/YProfileNumberText.h"

using rivode::storage::AppendDecimal;
using rivode::storage::ParseInteger;

YVariant YVariant::FromBool(bool value) {
    YVariant variant;
    variant.value_ = AutomationBool{static_cast<std::int16_t>(value ? -1 : 0)};
    return variant;
}

bool operator==(const YVariant& a, const YVariant& b) {
    return a.value_ == b.value_;
}

bool YVariant::ToInteger(std::int64_t& out) const {
    switch (GetKind()) {
        case Kind::Empty:
            out = 0;
            return true;
        case Kind::Bool:
            out = GetAutomationBool();
            return true;
        case Kind::Int32:
            out = GetInt32();
            return true;
        case Kind::UInt32:
            out = GetUInt32();
            return true;
        case Kind::Text:
            return ParseInteger(GetText(), out);
        case Kind::List:
            break;
    }
    return false;
}

bool YVariant::ToText(YUnicodeString& out) const {
    out.clear();
    switch (GetKind()) {
        case Kind::Empty:
            return true;
        case Kind::Bool:
            out = GetAutomationBool() != 0 ? u"True" : u"False";
            return true;
        case Kind::Int32:
            AppendDecimal(out, GetInt32());
            return true;
        case Kind::UInt32:
            AppendDecimal(out, GetUInt32());
            return true;
        case Kind::Text:
            out = GetText();
            return true;
        case Kind::List:
            break;
    }
    return false;
}

bool YVariant::ToBool(bool& out) const {
    if (GetKind() == Kind::Text) {
        if (rivode::EqualsNoCase(GetText(), u"True")) {
            out = true;
            return true;
        }
        if (rivode::EqualsNoCase(GetText(), u"False")) {
            out = false;
            return true;
        }
    }
    std::int64_t number = 0;
    if (!ToInteger(number)) {
        return false;
    }
    out = number != 0;
    return true;
}

bool YVariant::ToTextList(YStringArray& out) const {
    out.clear();
    if (GetKind() == Kind::Empty) {
        return true;
    }
    if (GetKind() != Kind::List) {
        out.emplace_back();
        return ToText(out.back());
    }
    out.resize(GetList().size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (!GetList()[i].ToText(out[i])) {
            return false;
        }
    }
    return true;
}

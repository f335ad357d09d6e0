#include <RivodeRavudaVU/YPropertyBag.h>

#include <cerrno>

bool YPropertyBag::Read(std::u16string_view name, YVariant& value, YReportMessageParams& report) {
    const YVariant* found = Find(name);
    if (found == nullptr) {
        SetSystemErrorReport(report, ENODATA);
        report.AddString(YUnicodeString(name));
        return false;
    }
    value = *found;
    return true;
}

bool YPropertyBag::Write(std::u16string_view name, const YVariant& value, YReportMessageParams&) {
    const auto found = values_.find(name);
    if (found != values_.end()) {
        found->second = value;
    } else {
        values_.emplace(YUnicodeString(name), value);
    }
    return true;
}

const YVariant* YPropertyBag::Find(std::u16string_view name) const {
    const auto found = values_.find(name);
    return found == values_.end() ? nullptr : &found->second;
}

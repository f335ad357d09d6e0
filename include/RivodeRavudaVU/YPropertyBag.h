// Property bags of the host's scripting layer: named values read and written as variants (a text
// or a number). Typed profile values load from and store into them (YProfileData).
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>
#include <RivodeRavudaVU/YVariant.h>

#include <functional>
#include <map>
#include <string_view>

#pragma GCC visibility push(default)

class IYPropertyBag {
public:
    virtual ~IYPropertyBag() = default;
    // false with the reason in report when the bag holds no value of that name or cannot give it.
    [[nodiscard]] virtual bool Read(std::u16string_view name, YVariant& value,
                                    YReportMessageParams& report) = 0;
    // false with the reason in report when the bag cannot take the value.
    [[nodiscard]] virtual bool Write(std::u16string_view name, const YVariant& value,
                                     YReportMessageParams& report) = 0;
};

// A bag held in memory, for hosts that collect values before handing them on and for tests.
// Names compare exactly, as value names do.
class YPropertyBag : public IYPropertyBag {
public:
    // A missing name is reported as the operating-system error "no data available".
    [[nodiscard]] bool Read(std::u16string_view name, YVariant& value,
                            YReportMessageParams& report) override;
    [[nodiscard]] bool Write(std::u16string_view name, const YVariant& value,
                             YReportMessageParams& report) override;

    const YVariant* Find(std::u16string_view name) const;
    std::size_t GetCount() const { return values_.size(); }

private:
    std::map<YUnicodeString, YVariant, std::less<>> values_;
};

#pragma GCC visibility pop

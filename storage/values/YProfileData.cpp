#include <RivodeRavudaVU/YProfileData.h>

#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YPropertyBag.h>
#include <RivodeRavudaVU/YVariant.h>

#include <RivodeRavudaVU/RivodeMessages.h>

#include <functional>
#include <mutex>
#include <unordered_set>

namespace {

struct LastingNameHash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view name) const {
        return std::hash<std::u16string_view>{}(name);
    }
};

}  // namespace

const YUnicodeString& GetLastingName(std::u16string_view name) {
    // Record tables ask once per row when they are built; a set's nodes never move, so the
    // names handed out stay valid while others are added.
    static std::mutex guard;
    static auto* names = new std::unordered_set<YUnicodeString, LastingNameHash, std::equal_to<>>;
    const std::lock_guard lock(guard);
    auto found = names->find(name);
    if (found == names->end()) {
        found = names->emplace(name).first;
    }
    return *found;
}

YProfileData::~YProfileData() = default;

const YUnicodeString& YProfileData::NoName() {
    static const YUnicodeString none;
    return none;
}

void YProfileData::SetName(YUnicodeString name) {
    name_ = &GetLastingName(name);
}

bool YProfileData::LoadFromBag(IYPropertyBag&, YReportMessageParams& report) {
    return ReportFormUnsupported(report);
}

bool YProfileData::Save(const YProfileKey&) {
    return true;
}

bool YProfileData::IsChanged() const {
    return false;
}

void YProfileData::CommitAll() {
    Commit();
}

void YProfileData::RevertAll() {
    Revert();
    AfterRevertAll();
}

bool YProfileData::CopyFrom(const YProfileData&) {
    return false;
}

bool YProfileData::CopyChangesFrom(const YProfileData& source) {
    return !source.IsChanged() || CopyFrom(source);
}

bool YProfileData::Load(const YProfileKey*) {
    return false;
}

bool YProfileData::GetTextVariant(YVariant&, YReportMessageParams& report) const {
    return ReportFormUnsupported(report);
}

bool YProfileData::PutTextToBag(IYPropertyBag& bag, YReportMessageParams& report) const {
    YVariant value;
    return GetTextVariant(value, report) && bag.Write(GetName(), value, report);
}

bool YProfileData::GetNumberVariant(YVariant&, YReportMessageParams& report) const {
    return ReportFormUnsupported(report);
}

bool YProfileData::PutNumberToBag(IYPropertyBag& bag, YReportMessageParams& report) const {
    YVariant value;
    return GetNumberVariant(value, report) && bag.Write(GetName(), value, report);
}

bool YProfileData::SetTextVariant(const YVariant&, YReportMessageParams& report) {
    return ReportFormUnsupported(report);
}

bool YProfileData::GetTextFromBag(IYPropertyBag& bag, YReportMessageParams& report) {
    YVariant value;
    return bag.Read(GetName(), value, report) && SetTextVariant(value, report);
}

bool YProfileData::SetNumberVariant(const YVariant&, YReportMessageParams& report) {
    return ReportFormUnsupported(report);
}

bool YProfileData::GetNumberFromBag(IYPropertyBag& bag, YReportMessageParams& report) {
    YVariant value;
    return bag.Read(GetName(), value, report) && SetNumberVariant(value, report);
}

void YProfileData::Commit() {
    if (IsChanged()) {
        pending_ = true;
    }
}

void YProfileData::Revert() {}

bool YProfileData::MustWrite(const YProfileKey& key) const {
    // A copying key receives every value, defaults included: it is how a record is written out
    // complete (ad-hoc sessions, exports).
    return pending_ || IsChanged() || dynamic_cast<const YProfileCopyKey*>(&key) != nullptr;
}

bool YProfileData::ReportFormUnsupported(YReportMessageParams& report) const {
    report.SetMessage(rivode::msg::TypedValueFormUnsupported);
    report.AddString(GetName());
    return false;
}

bool YProfileData::ReportConversionFailed(YReportMessageParams& report) const {
    report.SetMessage(rivode::msg::TypedValueConvertFailed);
    report.AddString(GetName());
    return false;
}

#include <RivodeRavudaVU/YProfileData.h>

#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YPropertyBag.h>
#include <RivodeRavudaVU/YVariant.h>

#include <RivodeRavudaVU/RivodeMessages.h>

#include "storage/values/LastingNameText.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

namespace {

struct LastingNameHash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view name) const {
        return std::hash<std::u16string_view>{}(name);
    }
};

constexpr std::uint32_t kChunkSize = 1024;
constexpr std::uint32_t kChunkCount = 1024;
using Chunk = std::array<std::atomic<const YUnicodeString*>, kChunkSize>;

// The texts of the lasting names by number, in fixed chunks that never move once published.
// The index of the chunks is made at compile time, with the empty name (number 0, the name of
// values not yet named) in place: reading a name never first asks whether the table has been
// made. The empty name is never destroyed, as values released late in the process's exit still
// name themselves.
union EmptyName {
    constexpr EmptyName() : text() {}
    ~EmptyName() {}
    const YUnicodeString text;
};
constinit EmptyName emptyName;
constinit Chunk firstChunk{&emptyName.text};
constinit std::array<std::atomic<Chunk*>, kChunkCount> nameChunks{&firstChunk};

// Values read their names by number on every load and save, from whichever thread uses the
// record, while another thread may be adding names: the table publishes each text in
// nameChunks before handing out its number, so a reader needs two acquiring loads and no lock.
class LastingNameTable {
public:
    LastingNameTable() { Add(u""); }

    std::uint32_t Find(std::u16string_view name) {
        const std::lock_guard lock(guard_);
        const auto found = numbers_.find(name);
        return found != numbers_.end() ? found->second : Add(name);
    }

    bool Holds(std::u16string_view text) {
        const std::lock_guard lock(guard_);
        const auto found = numbers_.find(text);
        return found != numbers_.end() && found->first.data() == text.data();
    }

private:
    // Under guard_. The map's nodes never move, so the texts published stay valid while others
    // are added.
    std::uint32_t Add(std::u16string_view name) {
        const auto index = static_cast<std::uint32_t>(numbers_.size());
        if (index == kChunkSize * kChunkCount) {
            throw std::length_error("too many value names");
        }
        auto& slot = nameChunks[index / kChunkSize];
        Chunk* chunk = slot.load(std::memory_order_relaxed);
        if (chunk == nullptr) {
            chunk = new Chunk{};
            slot.store(chunk, std::memory_order_release);
        }
        const auto added = numbers_.emplace(YUnicodeString(name), index).first;
        (*chunk)[index % kChunkSize].store(&added->first, std::memory_order_release);
        return index;
    }

    std::mutex guard_;
    std::unordered_map<YUnicodeString, std::uint32_t, LastingNameHash, std::equal_to<>> numbers_;
};

// Kept until the process ends: values of records released late in its exit still name
// themselves.
LastingNameTable& LastingNames() {
    static auto* table = new LastingNameTable;
    return *table;
}

}  // namespace

YLastingName::YLastingName(std::u16string_view name) : index_(LastingNames().Find(name)) {}

const YUnicodeString& YLastingName::TextOf(std::uint32_t index) {
    const Chunk* chunk = nameChunks[index / kChunkSize].load(std::memory_order_acquire);
    return *(*chunk)[index % kChunkSize].load(std::memory_order_acquire);
}

bool rivode::storage::IsLastingNameText(std::u16string_view text) {
    return LastingNames().Holds(text);
}

const YUnicodeString& GetLastingName(std::u16string_view name) {
    return YLastingName(name).GetText();
}

YProfileData::~YProfileData() = default;

void YProfileData::SetName(YUnicodeString name) {
    // Values made without a name (members of records before their load) take no lock.
    nameIndex_ = name.empty() ? 0 : YLastingName(name).GetIndex();
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
        SetPending(true);
    }
}

void YProfileData::Revert() {}

bool YProfileData::MustWrite(const YProfileKey& key) const {
    // A copying key receives every value, defaults included: it is how a record is written out
    // complete (ad-hoc sessions, exports).
    return (flags_ & kPending) != 0 || IsChanged() ||
           dynamic_cast<const YProfileCopyKey*>(&key) != nullptr;
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

#include <RivodeRavudaVU/YProfileBlob.h>

#include <RivodeRavudaVU/YProfileStore.h>

std::optional<YProfileBlob::Bytes> YProfileBlob::ReadBlock(const YProfileKey& key) const {
    std::uint32_t length = 0;
    if (!ReadBinary(key, nullptr, length)) {
        return std::nullopt;
    }
    Bytes block(length);
    // The value may change between the two reads (another key object saving); a block that
    // grew meanwhile fails the second read rather than overrunning the buffer.
    std::uint32_t size = length;
    if (!ReadBinary(key, block.data(), size)) {
        return std::nullopt;
    }
    block.resize(size);
    return block;
}

bool YProfileBlob::Init(const YProfileKey* key, YUnicodeString name, const Bytes& defaultValue) {
    SetName(std::move(name));
    std::optional<Bytes> stored = key != nullptr ? ReadBlock(*key) : std::nullopt;
    SetFromStore(stored.has_value());
    if (!stored) {
        block_ = defaultValue;
        baseline_.reset();
        SetPending(true);
        return false;
    }
    block_ = std::move(*stored);
    baseline_ = block_;
    SetPending(false);
    return true;
}

bool YProfileBlob::Load(const YProfileKey* key) {
    std::optional<Bytes> stored = key != nullptr ? ReadBlock(*key) : std::nullopt;
    if (!stored) {
        return false;
    }
    block_ = std::move(*stored);
    baseline_ = block_;
    SetPending(true);
    SetFromStore(true);
    return true;
}

bool YProfileBlob::Save(const YProfileKey& key) {
    if (block_.empty() || !MustWrite(key)) {
        return true;
    }
    if (!WriteBinary(key, block_.data(), static_cast<std::uint32_t>(block_.size()))) {
        return false;
    }
    SetPending(false);
    baseline_ = block_;
    return true;
}

bool YProfileBlob::IsChanged() const {
    return baseline_ ? *baseline_ != block_ : !block_.empty();
}

void YProfileBlob::Commit() {
    if (IsChanged()) {
        SetPending(true);
    }
    baseline_ = block_;
}

void YProfileBlob::Revert() {
    block_ = baseline_ ? *baseline_ : Bytes{};
}

bool YProfileBlob::CopyFrom(const YProfileData& other) {
    const auto* same = dynamic_cast<const YProfileBlob*>(&other);
    if (same == nullptr) {
        return false;
    }
    block_ = same->block_;
    return true;
}

bool YProfileBlob::CopyChangesFrom(const YProfileData& source) {
    if (dynamic_cast<const YProfileBlob*>(&source) == nullptr) {
        return false;
    }
    return !source.IsChanged() || CopyFrom(source);
}

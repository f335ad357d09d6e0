// YProfileBlob: a binary value of any length (up to 32 bits of length).
//
// Loading asks the stored length first, then reads that many bytes; the baseline is a separate
// copy of the loaded block. While no block was ever loaded, saved or committed there is no
// baseline: the value counts as changed as soon as it holds any bytes. An empty block is never
// written.
#pragma once

#include <RivodeRavudaVU/YProfileStorage.h>

#include <cstdint>
#include <optional>
#include <vector>

#pragma GCC visibility push(default)

class YProfileBlob : public YProfileBinary {
public:
    using Bytes = std::vector<std::uint8_t>;
    using ValueType = Bytes;

    YProfileBlob() = default;
    explicit YProfileBlob(YUnicodeString name) : YProfileBinary(std::move(name)) {}
    YProfileBlob(const YProfileBlob&) = default;
    YProfileBlob& operator=(const YProfileBlob&) = delete;

    // Sets the name and reads the block. When it is absent (or no key is given) the block takes
    // defaultValue, there is no baseline and the value is pending. Returns whether it was read.
    bool Init(const YProfileKey* key, YUnicodeString name, const Bytes& defaultValue = {});

    bool Load(const YProfileKey* key) override;
    [[nodiscard]] bool Save(const YProfileKey& key) override;
    bool IsChanged() const override;
    void Commit() override;
    void Revert() override;
    bool CopyFrom(const YProfileData& other) override;
    bool CopyChangesFrom(const YProfileData& source) override;

    const Bytes& Get() const { return block_; }
    void Set(Bytes block) { block_ = std::move(block); }
    bool HasBaseline() const { return baseline_.has_value(); }

private:
    // The stored block, or nothing when it is absent or unreadable.
    std::optional<Bytes> ReadBlock(const YProfileKey& key) const;

    Bytes block_;
    std::optional<Bytes> baseline_;
};

#pragma GCC visibility pop

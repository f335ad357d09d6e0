// YProfileBaseline<T>: where a typed value keeps its baseline (the value as last loaded, saved
// or committed). Values compare their current value with it (IsChanged), take it back (Revert)
// and replace it (Load, Save, Commit); Get gives it to readers.
//
// A baseline belongs to its value and is used by one thread at a time; a copy is independent
// of the original (text baselines share blocks that never change).
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <atomic>
#include <cstddef>
#include <new>
#include <string_view>
#include <type_traits>

#pragma GCC visibility push(default)

template <class T>
class YProfileBaseline {
public:
    explicit YProfileBaseline(const T& value) : value_(value) {}

    const T& Get() const { return value_; }
    // current == baseline, in that order.
    bool Equals(const T& current) const { return current == value_; }
    void Set(const T& value) { value_ = value; }
    // current := baseline.
    void RestoreTo(T& current) const { current = value_; }

private:
    T value_;
};

// A block of bytes shared by every baseline of the process that holds the same bytes: counted,
// never changed, freed with its last holder. Any thread.
class YSharedBlock {
public:
    // The block holding bytes, made or found; one more holder. nullptr for no bytes.
    static YSharedBlock* Share(std::string_view bytes);
    // One more holder of block, which the caller holds already (may be nullptr).
    static YSharedBlock* Hold(YSharedBlock* block) {
        if (block != nullptr) {
            block->holders_.fetch_add(1, std::memory_order_relaxed);
        }
        return block;
    }
    // One holder fewer; the last frees the block (may be nullptr).
    static void Drop(YSharedBlock* block);

    // Aligned as operator new aligns.
    const void* GetData() const { return this + 1; }
    std::size_t GetSize() const { return size_; }

private:
    explicit YSharedBlock(std::size_t size) : size_(size) {}

    std::atomic<std::size_t> holders_{1};
    const std::size_t size_;
};

// Holds one YSharedBlock for a baseline; copies hold the same block.
class YSharedBaselineBlock {
public:
    explicit YSharedBaselineBlock(std::string_view bytes) : block_(YSharedBlock::Share(bytes)) {}
    YSharedBaselineBlock(const YSharedBaselineBlock& other)
        : block_(YSharedBlock::Hold(other.block_)) {}
    YSharedBaselineBlock& operator=(const YSharedBaselineBlock& other) {
        YSharedBlock* held = YSharedBlock::Hold(other.block_);
        YSharedBlock::Drop(block_);
        block_ = held;
        return *this;
    }
    ~YSharedBaselineBlock() { YSharedBlock::Drop(block_); }

    std::string_view GetBytes() const {
        return block_ != nullptr ? std::string_view(static_cast<const char*>(block_->GetData()),
                                                    block_->GetSize())
                                 : std::string_view();
    }
    // Values set their baseline on every save and commit: equal bytes keep their block.
    void SetBytes(std::string_view bytes) {
        if (bytes == GetBytes()) {
            return;
        }
        YSharedBlock* shared = YSharedBlock::Share(bytes);
        YSharedBlock::Drop(block_);
        block_ = shared;
    }

private:
    YSharedBlock* block_;
};

// Texts: a record holds dozens of them, most of them empty and nearly all equal to their
// baselines for as long as the record is open, and the records of one host mostly hold the same
// texts (protocol names, folders, commands): the baseline is one pointer, none for the empty text,
// otherwise to the process's shared block of that text. Get gives a view of it, valid until the
// next Set.
template <>
class YProfileBaseline<YUnicodeString> {
public:
    explicit YProfileBaseline(std::u16string_view value) : block_(BytesOf(value)) {}

    std::u16string_view Get() const {
        const std::string_view bytes = block_.GetBytes();
        return {reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / sizeof(char16_t)};
    }
    bool Equals(std::u16string_view current) const { return current == Get(); }
    void Set(std::u16string_view value) { block_.SetBytes(BytesOf(value)); }
    void RestoreTo(YUnicodeString& current) const { current = Get(); }

private:
    static std::string_view BytesOf(std::u16string_view text) {
        return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)};
    }

    YSharedBaselineBlock block_;
};

// Records compared and stored by their bytes (fonts, window placements) that are larger than a
// pointer: their baselines are nearly always the same few records in every value of the process,
// so they are shared blocks too.
template <class T>
concept YSharedBaselineRecord = std::is_trivially_copyable_v<T> &&
                                std::has_unique_object_representations_v<T> &&
                                (sizeof(T) > sizeof(void*)) &&
                                (alignof(T) <= alignof(std::max_align_t));

template <YSharedBaselineRecord T>
class YProfileBaseline<T> {
public:
    explicit YProfileBaseline(const T& value) : block_(BytesOf(value)) {}

    const T& Get() const {
        return *std::launder(reinterpret_cast<const T*>(block_.GetBytes().data()));
    }
    // current == baseline, in that order.
    bool Equals(const T& current) const { return current == Get(); }
    void Set(const T& value) { block_.SetBytes(BytesOf(value)); }
    void RestoreTo(T& current) const { current = Get(); }

private:
    static std::string_view BytesOf(const T& value) {
        return {reinterpret_cast<const char*>(&value), sizeof(T)};
    }

    YSharedBaselineBlock block_;
};

#pragma GCC visibility pop

#include <RivodeRavudaVU/YProfileBaseline.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <functional>
#include <mutex>
#include <new>
#include <unordered_set>
#include <utility>

namespace {

static_assert(sizeof(YSharedBlock) % alignof(std::max_align_t) == 0,
              "records read in place after the block's header");

std::string_view BytesOf(const YSharedBlock* block) {
    return {static_cast<const char*>(block->GetData()), block->GetSize()};
}

struct SharedBlockHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view bytes) const {
        return std::hash<std::string_view>{}(bytes);
    }
    std::size_t operator()(const YSharedBlock* block) const { return (*this)(BytesOf(block)); }
};

struct SharedBlockEqual {
    using is_transparent = void;
    static std::string_view View(std::string_view bytes) { return bytes; }
    static std::string_view View(const YSharedBlock* block) { return BytesOf(block); }
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
        return View(a) == View(b);
    }
};

// Every block in use, by its bytes. A holder count reaches zero only under the guard, and blocks
// are found only under it, so a block is never handed out while it is being freed.
struct SharedBlocks {
    std::mutex guard;
    std::unordered_set<YSharedBlock*, SharedBlockHash, SharedBlockEqual> blocks;
};

// Kept until the process ends: records released late in its exit still drop their blocks.
SharedBlocks& Blocks() {
    static auto* blocks = new SharedBlocks;
    return *blocks;
}

// The blocks this thread shared last, by their bytes' hash. The records of one host hold the
// same texts over and over (loading thousands of sessions sets the same baselines in each), so
// most blocks are found here without the lock; and as the thread holds them, a value dropping
// one never frees it under the lock either.
struct RecentBlocks {
    static constexpr std::size_t kCount = 64;
    std::array<YSharedBlock*, kCount> blocks{};
    ~RecentBlocks() {
        for (YSharedBlock* block : blocks) {
            YSharedBlock::Drop(block);
        }
    }
};
thread_local RecentBlocks recentBlocks;

}  // namespace

YSharedBlock* YSharedBlock::Share(std::string_view value) {
    if (value.empty()) {
        return nullptr;
    }
    YSharedBlock*& recent = recentBlocks.blocks[SharedBlockHash{}(value) % RecentBlocks::kCount];
    if (recent != nullptr && BytesOf(recent) == value) {
        return Hold(recent);
    }
    YSharedBlock* shared = nullptr;
    {
        SharedBlocks& blocks = Blocks();
        const std::lock_guard lock(blocks.guard);
        const auto found = blocks.blocks.find(value);
        if (found != blocks.blocks.end()) {
            (*found)->holders_.fetch_add(1, std::memory_order_relaxed);
            shared = *found;
        } else {
            void* memory = ::operator new(sizeof(YSharedBlock) + value.size());
            shared = new (memory) YSharedBlock(value.size());
            // The bytes of a trivially copyable record: copying them makes the record that
            // baselines read through GetData.
            std::memcpy(static_cast<char*>(memory) + sizeof(YSharedBlock), value.data(),
                        value.size());
            try {
                blocks.blocks.insert(shared);
            } catch (...) {
                shared->~YSharedBlock();
                ::operator delete(memory);
                throw;
            }
        }
    }
    // Outside the lock: dropping the block this one replaces may take it.
    Drop(std::exchange(recent, Hold(shared)));
    return shared;
}

void YSharedBlock::Drop(YSharedBlock* block) {
    if (block == nullptr) {
        return;
    }
    // Most drops leave other holders: those need no lock.
    std::size_t holders = block->holders_.load(std::memory_order_relaxed);
    while (holders > 1) {
        if (block->holders_.compare_exchange_weak(holders, holders - 1, std::memory_order_release,
                                                  std::memory_order_relaxed)) {
            return;
        }
    }
    SharedBlocks& blocks = Blocks();
    const std::lock_guard lock(blocks.guard);
    if (block->holders_.fetch_sub(1, std::memory_order_acq_rel) != 1) {
        return;
    }
    blocks.blocks.erase(block);
    block->~YSharedBlock();
    ::operator delete(block);
}

#include <DavaraZE/YMessageStrings.h>

#include <atomic>

namespace {

std::atomic<YMessageStringLoader> registeredLoader{nullptr};

}  // namespace

void YSetMessageStringLoader(YMessageStringLoader loader) {
    registeredLoader.store(loader, std::memory_order_release);
}

YUnicodeString YLoadMessageString(std::uint32_t id, const char16_t* fallback) {
    if (const YMessageStringLoader loader = registeredLoader.load(std::memory_order_acquire)) {
        YUnicodeString text = loader(id);
        if (!text.empty()) {
            return text;
        }
    }
    return fallback;
}

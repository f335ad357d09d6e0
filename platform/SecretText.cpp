#include <RivodeRavudaVU/YSecretText.h>

#include "platform/SecureMemory.h"

#include <utility>

YSecretText::YSecretText(YUnicodeString&& text) : text_(std::move(text)) {
    rivode::platform::WipeText(text);
}

YSecretText::YSecretText(YSecretText&& other) noexcept : text_(std::move(other.text_)) {
    other.Wipe();
}

YSecretText& YSecretText::operator=(YSecretText&& other) noexcept {
    if (this != &other) {
        Wipe();
        text_ = std::move(other.text_);
        other.Wipe();
    }
    return *this;
}

YSecretText::~YSecretText() {
    Wipe();
}

void YSecretText::Wipe() noexcept {
    rivode::platform::WipeText(text_);
}

YWipeTextOnExit::~YWipeTextOnExit() {
    rivode::platform::WipeText(text_);
}

bool YProtectProcessSecrets() {
    return rivode::platform::DisableCoreDumps() == 0;
}

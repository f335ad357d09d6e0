#include "storage/ciphers/YBasicBuffer.h"

#include <cstring>

YBasicBuffer::YBasicBuffer(std::size_t capacity, bool full)
    : bytes_(capacity), length_(full ? capacity : 0) {}

bool YBasicBuffer::SetLength(std::size_t length) {
    if (length > bytes_.size()) {
        return false;
    }
    length_ = length;
    return true;
}

bool YBasicBuffer::Append(const void* bytes, std::size_t count) {
    if (count > bytes_.size() - length_) {
        return false;
    }
    if (count > 0) {
        std::memcpy(bytes_.data() + length_, bytes, count);
    }
    length_ += count;
    return true;
}

#include "storage/passphrase/YMemoryMappedBuffer.h"

#include "platform/SharedMemory.h"

YMemoryMappedBuffer::YMemoryMappedBuffer() = default;
YMemoryMappedBuffer::~YMemoryMappedBuffer() = default;

bool YMemoryMappedBuffer::Open(const YUnicodeString& name, std::size_t size,
                               YReportMessageParams& report) {
    Close();
    if (const int error =
            rivode::platform::SharedMemory::Open(rivode::ToUtf8(name), size, memory_, created_);
        error != 0) {
        SetSystemErrorReport(report, error);
        return false;
    }
    return true;
}

void YMemoryMappedBuffer::Close() {
    memory_.reset();
    created_ = false;
}

void* YMemoryMappedBuffer::GetData() const {
    return memory_ ? memory_->Data() : nullptr;
}

std::size_t YMemoryMappedBuffer::GetSize() const {
    return memory_ ? memory_->Size() : 0;
}

bool YMemoryMappedBuffer::Remove(const YUnicodeString& name, YReportMessageParams& report) {
    if (const int error = rivode::platform::RemoveSharedMemory(rivode::ToUtf8(name)); error != 0) {
        SetSystemErrorReport(report, error);
        return false;
    }
    return true;
}

// YMemoryMappedBuffer: named shared memory of the current user mapped into this process.
//
// Every process of the user that opens the same name sees the same bytes. The name is kept by
// the system until Remove, independently of the processes that have the bytes mapped. Guarding
// the bytes is the caller's business.
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <memory>

namespace rivode::platform {
class SharedMemory;
}

class YMemoryMappedBuffer {
public:
    YMemoryMappedBuffer();
    ~YMemoryMappedBuffer();
    YMemoryMappedBuffer(const YMemoryMappedBuffer&) = delete;
    YMemoryMappedBuffer& operator=(const YMemoryMappedBuffer&) = delete;

    // Maps size bytes of the memory of name, creating it zero-filled when missing; replaces what
    // was mapped before. false with an operating-system report when it cannot be mapped, which
    // includes memory of that name that others than the user could reach.
    [[nodiscard]] bool Open(const YUnicodeString& name, std::size_t size,
                            YReportMessageParams& report);
    void Close();

    bool IsOpen() const { return memory_ != nullptr; }
    // Whether the last successful Open made the memory.
    bool WasCreated() const { return created_; }
    // Null and 0 while not open.
    void* GetData() const;
    std::size_t GetSize() const;

    // Removes the name; mapped bytes stay valid. Memory that does not exist is not an error.
    [[nodiscard]] static bool Remove(const YUnicodeString& name, YReportMessageParams& report);

private:
    std::unique_ptr<rivode::platform::SharedMemory> memory_;
    bool created_ = false;
};

// Named shared memory of the current user: a block of bytes that every process of the user
// opening the same name sees, for as long as the name is not removed.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#pragma GCC visibility push(default)

namespace rivode::platform {

// The name under which the system keeps a named object of the current user: name with the
// characters system object names cannot hold escaped, followed by the user id, so two users
// never meet in one object and distinct names stay distinct.
std::string GetUserObjectName(const std::string& name);
// The shared-memory object a name stands for: the user's object name, tied to the user's
// runtime folder, where the lock that counts the memory's users lives.
std::string GetSharedMemoryObjectName(const std::string& name);

class SharedMemory {
public:
    // Opens the object of name, creating it (mode 0600) when missing. The object is grown to
    // size bytes when smaller (new bytes are zero), and size bytes of it are mapped. created tells
    // whether this call made the object. Fails with EACCES when the object belongs to another
    // user or others may open it. The mapping is left out of core dumps, since processes share
    // secrets through it. Returns 0 or the errno value.
    static int Open(const std::string& name, std::size_t size,
                    std::unique_ptr<SharedMemory>& memory, bool& created);

    // Unmaps the bytes; the object itself stays until RemoveSharedMemory.
    ~SharedMemory();
    SharedMemory(const SharedMemory&) = delete;
    SharedMemory& operator=(const SharedMemory&) = delete;

    void* Data() const { return data_; }
    std::size_t Size() const { return size_; }

private:
    SharedMemory(void* data, std::size_t size) : data_(data), size_(size) {}

    void* data_;
    std::size_t size_;
};

// Removes the name; processes that have the object mapped keep their bytes, the next Open makes
// a new object. 0 also when there is no such object, else the errno value.
int RemoveSharedMemory(const std::string& name);

}  // namespace rivode::platform

#pragma GCC visibility pop

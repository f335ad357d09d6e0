// The command database: the process's one store of the file-transfer product's saved commands.
//
// The commands themselves belong to the file-transfer product and are kept by it; what the
// library owns is the shared object's lifetime: created on first use for the host product,
// handed out as a plain pointer, and destroyed by the library's cleanup. Callers never delete it.
#pragma once

#include <mutex>

#pragma GCC visibility push(default)

class CommandDatabaseImpl {
public:
    explicit CommandDatabaseImpl(int product) : product_(product) {}
    CommandDatabaseImpl(const CommandDatabaseImpl&) = delete;
    CommandDatabaseImpl& operator=(const CommandDatabaseImpl&) = delete;

    // The host product the database was created for.
    int GetProduct() const { return product_; }
    // Held by whoever reads or changes the database's content, for as long as they do.
    std::mutex& GetMutex() { return mutex_; }

private:
    int product_;
    std::mutex mutex_;
};

// The shared database, created on first call with the host product; never null. Any thread.
// Throws std::system_error when the singleton's lock cannot be taken.
CommandDatabaseImpl* GetCommandDatabaseImpl();
// Detaches the shared database and destroys it; the next GetCommandDatabaseImpl creates a new
// one. Pointers handed out before become invalid. Called by the library's cleanup.
void FreeCommandDatabaseImpl();

#pragma GCC visibility pop

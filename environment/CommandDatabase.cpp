#include <RivodeRavudaVU/CommandDatabase.h>

#include "products/HostProduct.h"

#include <memory>
#include <utility>

namespace {

// Guards only the pointer: creating, handing out and detaching the database.
std::mutex singletonLock;
// A plain pointer rather than a static unique_ptr: the library's unload frees the database, and
// a static destructor of this file might already have run by then.
CommandDatabaseImpl* shared = nullptr;

}  // namespace

CommandDatabaseImpl* GetCommandDatabaseImpl() {
    const std::lock_guard lock(singletonLock);
    if (shared == nullptr) {
        shared = new CommandDatabaseImpl(GetHostProduct());
    }
    return shared;
}

void FreeCommandDatabaseImpl() {
    std::unique_lock lock(singletonLock);
    const std::unique_ptr<CommandDatabaseImpl> detached(std::exchange(shared, nullptr));
    // Destroyed outside the lock, so a long teardown never holds up a thread asking for the
    // next database.
    lock.unlock();
}

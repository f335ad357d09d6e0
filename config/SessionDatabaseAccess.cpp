// The process's one session database. The lock guards only the pointer: the database is
// destroyed after the lock is released, so a slow teardown never blocks another caller.
#include <RivodeRavudaVU/SessionDatabase.h>

#include "products/HostProduct.h"

#include <memory>
#include <mutex>

namespace {

std::mutex g_databaseLock;
std::unique_ptr<SessionDatabaseImpl> g_database;

}  // namespace

SessionDatabaseImpl* GetSessionDatabaseImpl() {
    const std::lock_guard lock(g_databaseLock);
    if (!g_database) {
        g_database = std::make_unique<SessionDatabaseImpl>(GetHostProduct());
    }
    return g_database.get();
}

void FreeSessionDatabaseImpl() {
    std::unique_ptr<SessionDatabaseImpl> detached;
    {
        const std::lock_guard lock(g_databaseLock);
        detached = std::move(g_database);
    }
}

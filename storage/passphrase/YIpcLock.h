// YIpcLock: a lock that excludes the other threads of this process and, when it has a name, the
// other processes of the current user holding a lock of that name.
//
// It meets the standard's Lockable requirements in part (lock/unlock), so std::lock_guard and
// std::unique_lock hold it. A named lock is released by the system when its holder dies.
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <memory>
#include <mutex>

namespace rivode::platform {
class InterProcessLock;
}

class YIpcLock {
public:
    // An unnamed lock: it guards against the threads of this process only.
    YIpcLock();
    ~YIpcLock();
    YIpcLock(const YIpcLock&) = delete;
    YIpcLock& operator=(const YIpcLock&) = delete;

    // Makes this the lock of name (not while held). false with an operating-system report that
    // names the lock file when the lock cannot be set up, which includes a lock file that is not
    // the user's own regular file closed to others; the lock then stays as it was.
    [[nodiscard]] bool Open(const YUnicodeString& name, YReportMessageParams& report);
    bool IsNamed() const { return named_ != nullptr; }

    // Waits for the lock. Throws std::system_error when the system refuses it, as a mutex does.
    void lock();
    void unlock();

    // While held: marks this lock as a user of what its name guards, or ends that; sole tells
    // whether no other lock of the name is (still) a user. An unnamed lock is always sole.
    // false with an operating-system report on failure.
    [[nodiscard]] bool Attach(bool& sole, YReportMessageParams& report);
    [[nodiscard]] bool Detach(bool& sole, YReportMessageParams& report);

private:
    bool CountUsers(int (rivode::platform::InterProcessLock::*change)(bool&), bool& sole,
                    YReportMessageParams& report);

    std::mutex threads_;
    std::unique_ptr<rivode::platform::InterProcessLock> named_;
};

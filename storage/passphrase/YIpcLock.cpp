#include "storage/passphrase/YIpcLock.h"

#include "platform/InterProcessLock.h"

#include <system_error>

YIpcLock::YIpcLock() = default;
YIpcLock::~YIpcLock() = default;

bool YIpcLock::Open(const YUnicodeString& name, YReportMessageParams& report) {
    std::unique_ptr<rivode::platform::InterProcessLock> named;
    const std::string utf8Name = rivode::ToUtf8(name);
    if (const int error = rivode::platform::InterProcessLock::Open(utf8Name, named); error != 0) {
        SetFileErrorReport(report, error, rivode::platform::GetInterProcessLockPath(utf8Name));
        return false;
    }
    named_ = std::move(named);
    return true;
}

// The byte-range lock belongs to our open lock file and so does not exclude a second thread
// using the same file: the threads of this process queue on the mutex first.
void YIpcLock::lock() {
    threads_.lock();
    if (!named_) {
        return;
    }
    if (const int error = named_->Lock(); error != 0) {
        threads_.unlock();
        throw std::system_error(error, std::generic_category(), "inter-process lock");
    }
}

void YIpcLock::unlock() {
    if (named_) {
        // Failing to unlock a lock we hold means the file is gone from under us; closing it in
        // the destructor still releases the lock.
        (void)named_->Unlock();
    }
    threads_.unlock();
}

bool YIpcLock::Attach(bool& sole, YReportMessageParams& report) {
    return CountUsers(&rivode::platform::InterProcessLock::Attach, sole, report);
}

bool YIpcLock::Detach(bool& sole, YReportMessageParams& report) {
    return CountUsers(&rivode::platform::InterProcessLock::Detach, sole, report);
}

bool YIpcLock::CountUsers(int (rivode::platform::InterProcessLock::*change)(bool&), bool& sole,
                          YReportMessageParams& report) {
    sole = true;
    if (!named_) {
        return true;
    }
    if (const int error = (named_.get()->*change)(sole); error != 0) {
        SetSystemErrorReport(report, error);
        return false;
    }
    return true;
}

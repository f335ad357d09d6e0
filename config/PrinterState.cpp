// The printing state and its background initialisation.
//
// The state is shared with the two detached threads of each initialisation (the watchdog and the
// worker), so it lives as long as the last of them, whatever happens to the printer object. The
// host's initialisation function and the status callback are called without the lock held.
#include <RivodeRavudaVU/Printer.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace msg = rivode::msg;

struct PrinterBase::State {
    mutable std::mutex mutex;
    std::condition_variable idle;
    bool configured = false;
    bool enabled = false;
    std::uint64_t timeoutMs = 0;
    InitFunction init = nullptr;
    StatusCallback callback = nullptr;
    InitState initState = InitState::NotInitialized;
    YReportMessageParams status;
    bool busy = false;
    // Each start counts, so a watchdog of an earlier start leaves a later one alone.
    std::uint64_t run = 0;
    std::optional<PrinterSelection> cached;
    std::optional<PrinterSelection> selected;
};

namespace {

using Init = PrinterBase::InitState;

void Worker(std::shared_ptr<PrinterBase::State> state) {
    PrinterBase::InitFunction init;
    {
        const std::lock_guard lock(state->mutex);
        state->busy = true;
        init = state->init;
    }
    YReportMessageParams hostReport(msg::PrinterStatusUnavailable);
    const bool succeeded = init != nullptr && init(hostReport);
    PrinterBase::StatusCallback callback = nullptr;
    bool ready = false;
    YReportMessageParams status;
    {
        const std::lock_guard lock(state->mutex);
        if (state->initState != Init::Uninitialized) {
            state->initState = succeeded ? Init::Succeeded : Init::Failed;
            const std::uint32_t result =
                succeeded ? msg::PrinterInitSucceeded : msg::PrinterInitFailed;
            if (hostReport.GetMessageId() == msg::PrinterStatusUnavailable) {
                state->status = YReportMessageParams(result);
            } else {
                state->status = YReportMessageParams(msg::PrinterStatusDetail);
                state->status.AddString(LoadMessageString(result));
                state->status.AddString(YUnicodeString(hostReport.GetTextTrimmed()));
            }
            if (succeeded && state->cached) {
                state->selected = std::move(state->cached);
            }
            state->cached.reset();
            callback = state->callback;
            ready = succeeded;
            status = state->status;
        }
        state->busy = false;
    }
    state->idle.notify_all();
    if (callback != nullptr) {
        callback(ready, status);
    }
}

void Watchdog(std::shared_ptr<PrinterBase::State> state, std::uint64_t run) {
    std::uint64_t timeoutMs = 0;
    {
        const std::lock_guard lock(state->mutex);
        timeoutMs = state->timeoutMs;
    }
    std::thread(Worker, state).detach();
    const auto deadline =
        std::chrono::high_resolution_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::this_thread::sleep_until(deadline);
    const std::lock_guard lock(state->mutex);
    if (state->run == run && state->initState == Init::Initializing) {
        state->initState = Init::Failed;
        state->status = YReportMessageParams(msg::PrinterInitTimedOut);
    }
}

// Called with the lock held: starts an initialisation when enabled and not initialised.
bool InitializeIfNecessary(const std::shared_ptr<PrinterBase::State>& state) {
    if (!state->enabled || state->initState != Init::NotInitialized) {
        return false;
    }
    state->initState = Init::Initializing;
    state->status = YReportMessageParams(msg::PrinterInitializing);
    std::thread(Watchdog, state, ++state->run).detach();
    return true;
}

}  // namespace

PrinterBase::PrinterBase() : state_(std::make_shared<State>()) {}

PrinterBase::~PrinterBase() = default;

void PrinterBase::Initialize(bool enabled, std::uint64_t timeoutMs, InitFunction init,
                             StatusCallback statusCallback) {
    const std::lock_guard lock(state_->mutex);
    if (!state_->configured) {
        state_->configured = true;
        state_->enabled = enabled;
        state_->timeoutMs = timeoutMs;
        state_->init = init;
        state_->callback = statusCallback;
    }
    InitializeIfNecessary(state_);
}

void PrinterBase::Enable(bool enabled) {
    StatusCallback callback = nullptr;
    YReportMessageParams status;
    {
        const std::lock_guard lock(state_->mutex);
        if (enabled == state_->enabled) {
            return;
        }
        state_->enabled = enabled;
        if (InitializeIfNecessary(state_)) {
            return;
        }
        callback = state_->callback;
        status = state_->status;
    }
    if (callback != nullptr) {
        callback(true, status);
    }
}

void PrinterBase::Suspend(YReportMessageParams& report) {
    StatusCallback callback = nullptr;
    {
        const std::lock_guard lock(state_->mutex);
        if (!state_->enabled ||
            (state_->initState != InitState::Succeeded && state_->initState != InitState::Failed)) {
            return;
        }
        state_->initState = InitState::NotInitialized;
        state_->status = report;
        callback = state_->callback;
    }
    if (callback != nullptr) {
        callback(false, report);
    }
}

void PrinterBase::Resume() {
    const std::lock_guard lock(state_->mutex);
    if (!state_->configured || !state_->enabled || state_->initState == InitState::Initializing ||
        state_->initState == InitState::Uninitialized) {
        return;
    }
    state_->initState = InitState::NotInitialized;
    InitializeIfNecessary(state_);
}

void PrinterBase::Uninitialize() {
    std::unique_lock lock(state_->mutex);
    state_->idle.wait(lock, [this] { return !state_->busy; });
    state_->initState = InitState::Uninitialized;
    state_->status = YReportMessageParams(msg::PrinterUninitialized);
}

YReportMessageParams PrinterBase::GetStatus() const {
    const std::lock_guard lock(state_->mutex);
    return state_->status;
}

PrinterBase::InitState PrinterBase::GetInitState() const {
    const std::lock_guard lock(state_->mutex);
    return state_->initState;
}

bool PrinterBase::HasInitializationSucceeded() const {
    const std::lock_guard lock(state_->mutex);
    return state_->enabled && state_->initState == InitState::Succeeded;
}

bool PrinterBase::SelectOrCache(const PrinterSelection& selection) {
    const std::lock_guard lock(state_->mutex);
    if (state_->enabled && state_->initState == InitState::Succeeded) {
        state_->selected = selection;
        return true;
    }
    if (state_->initState == InitState::Initializing) {
        state_->cached = selection;
        return true;
    }
    return false;
}

std::optional<PrinterSelection> PrinterBase::GetSelection() const {
    const std::lock_guard lock(state_->mutex);
    return state_->selected;
}

// Background initialisation: success, failure, time-out, the late result, suspend and resume,
// uninitialising while the host's function runs, and a printer chosen meanwhile.
#include <RivodeRavudaVU/Printer.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace rivode::test {
namespace {

using namespace std::chrono_literals;
using Init = PrinterBase::InitState;

// A host initialisation function that returns only when the test releases it.
struct Gate {
    static inline std::mutex mutex;
    static inline std::condition_variable changed;
    static inline bool open = false;
    static inline bool result = true;
    static inline std::atomic<int> calls = 0;
    static void Reset(bool initiallyOpen, bool succeed) {
        const std::lock_guard lock(mutex);
        open = initiallyOpen;
        result = succeed;
        calls = 0;
    }
    static void Open() {
        {
            const std::lock_guard lock(mutex);
            open = true;
        }
        changed.notify_all();
    }
    static bool Function(YReportMessageParams& report) {
        ++calls;
        std::unique_lock lock(mutex);
        changed.wait(lock, [] { return open; });
        if (!result) {
            report.SetMessage(msg::NoPrinterDefaults);
        }
        return result;
    }
};

struct Callbacks {
    static inline std::mutex mutex;
    static inline std::vector<std::pair<bool, std::uint32_t>> heard;
    static void Record(bool ready, const YReportMessageParams& status) {
        const std::lock_guard lock(mutex);
        heard.emplace_back(ready, status.GetMessageId());
    }
    static std::size_t Count() {
        const std::lock_guard lock(mutex);
        return heard.size();
    }
};

class TestPrinter : public Printer {
public:
    using PrinterBase::Initialize;
};

bool WaitFor(const TestPrinter& printer, Init state, std::chrono::milliseconds limit = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (printer.GetInitState() != state) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

class PrinterInitTest : public ::testing::Test {
protected:
    PrinterInitTest() { Callbacks::heard.clear(); }
    ~PrinterInitTest() override {
        Gate::Open();
        printer_.Uninitialize();
    }
    TestPrinter printer_;
};

TEST_F(PrinterInitTest, SuccessSetsItsStatusAndTellsTheHostOnce) {
    Gate::Reset(true, true);
    printer_.Initialize(true, 10000, &Gate::Function, &Callbacks::Record);
    ASSERT_TRUE(WaitFor(printer_, Init::Succeeded));
    EXPECT_TRUE(printer_.HasInitializationSucceeded());
    EXPECT_EQ(printer_.GetStatus().GetMessageId(), msg::PrinterInitSucceeded);
    // A second Initialize changes nothing.
    printer_.Initialize(false, 1, nullptr, nullptr);
    EXPECT_TRUE(printer_.HasInitializationSucceeded());
    EXPECT_EQ(Gate::calls, 1);
    for (int i = 0; i < 500 && Callbacks::Count() == 0; ++i) {
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_EQ(Callbacks::Count(), 1u);
    EXPECT_EQ(Callbacks::heard[0], std::make_pair(true, msg::PrinterInitSucceeded));
}

TEST_F(PrinterInitTest, AFailureCarriesTheHostsReason) {
    Gate::Reset(true, false);
    printer_.Initialize(true, 10000, &Gate::Function, nullptr);
    ASSERT_TRUE(WaitFor(printer_, Init::Failed));
    YReportMessageParams status = printer_.GetStatus();
    EXPECT_EQ(status.GetMessageId(), msg::PrinterStatusDetail);
    EXPECT_EQ(ToUtf8(status.GetTextTrimmed()),
              "Printer initialization failed: Cannot get printer defaults.");
}

TEST_F(PrinterInitTest, ATimeOutFailsAndTheLateResultStillCounts) {
    Gate::Reset(false, true);
    printer_.Initialize(true, 20, &Gate::Function, nullptr);
    ASSERT_TRUE(WaitFor(printer_, Init::Failed));
    EXPECT_EQ(printer_.GetStatus().GetMessageId(), msg::PrinterInitTimedOut);
    Gate::Open();
    ASSERT_TRUE(WaitFor(printer_, Init::Succeeded));
}

TEST_F(PrinterInitTest, UninitializeWaitsForTheHostAndIsFinal) {
    Gate::Reset(false, true);
    printer_.Initialize(true, 10000, &Gate::Function, nullptr);
    while (Gate::calls == 0) {
        std::this_thread::sleep_for(1ms);
    }
    std::thread release([] {
        std::this_thread::sleep_for(30ms);
        Gate::Open();
    });
    printer_.Uninitialize();
    release.join();
    EXPECT_EQ(printer_.GetInitState(), Init::Uninitialized);
    EXPECT_EQ(printer_.GetStatus().GetMessageId(), msg::PrinterUninitialized);
    printer_.Resume();
    EXPECT_EQ(printer_.GetInitState(), Init::Uninitialized);
}

TEST_F(PrinterInitTest, SuspendAndResumeStartAgainAndDisabledPrintingNeverStarts) {
    Gate::Reset(true, true);
    printer_.Initialize(false, 10000, &Gate::Function, &Callbacks::Record);
    EXPECT_EQ(printer_.GetInitState(), Init::NotInitialized);
    printer_.Enable(true);
    ASSERT_TRUE(WaitFor(printer_, Init::Succeeded));
    YReportMessageParams sleeping(msg::PrinterSuspended);
    printer_.Suspend(sleeping);
    EXPECT_EQ(printer_.GetInitState(), Init::NotInitialized);
    EXPECT_EQ(printer_.GetStatus().GetMessageId(), msg::PrinterSuspended);
    printer_.Resume();
    ASSERT_TRUE(WaitFor(printer_, Init::Succeeded));
    EXPECT_EQ(Gate::calls, 2);
    const std::lock_guard lock(Callbacks::mutex);
    EXPECT_NE(std::find(Callbacks::heard.begin(), Callbacks::heard.end(),
                        std::make_pair(false, msg::PrinterSuspended)),
              Callbacks::heard.end());
}

TEST_F(PrinterInitTest, APrinterChosenDuringInitialisationIsAppliedOnSuccess) {
    Gate::Reset(false, true);
    printer_.Initialize(true, 10000, &Gate::Function, nullptr);
    PrinterSelection chosen;
    chosen.name = u"Office";
    chosen.paperSize = 9;
    EXPECT_TRUE(printer_.SelectCurrentPrinter(chosen));
    EXPECT_EQ(printer_.GetCurrentPrinter(), PrinterSelection{});
    Gate::Open();
    ASSERT_TRUE(WaitFor(printer_, Init::Succeeded));
    EXPECT_EQ(printer_.GetCurrentPrinter(), chosen);
}

}  // namespace
}  // namespace rivode::test

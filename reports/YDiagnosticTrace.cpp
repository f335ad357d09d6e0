#include <RivodeRavudaVU/YDiagnosticTrace.h>

#include <RivodeRavudaVU/YReportMessageParams.h>

#include <atomic>
#include <mutex>

namespace {

std::mutex sinkMutex;
YDiagnosticTraceSink installedSink = nullptr;
void* installedContext = nullptr;
// Read without the mutex on every traced event, so that a host without a sink pays nothing.
std::atomic<bool> sinkInstalled{false};

}  // namespace

void SetDiagnosticTraceSink(YDiagnosticTraceSink sink, void* context) {
    const std::lock_guard<std::mutex> lock(sinkMutex);
    installedSink = sink;
    installedContext = context;
    sinkInstalled = sink != nullptr;
}

bool IsDiagnosticTraceOn() {
    return sinkInstalled;
}

void TraceDiagnostic(IReportMessageParams& report) {
    if (!sinkInstalled) {
        return;
    }
    const YUnicodeString line = report.GetSingleLineTextTrimmed();
    const std::lock_guard<std::mutex> lock(sinkMutex);
    if (installedSink != nullptr) {
        installedSink(line, installedContext);
    }
}

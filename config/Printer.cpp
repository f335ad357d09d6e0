// The current printer over the registered platform.
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/Printer.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>

#include <mutex>

namespace msg = rivode::msg;

namespace {

std::mutex platformLock;
std::shared_ptr<IPrinterPlatform> registeredPlatform;

bool InitializePlatform(YReportMessageParams& report) {
    const std::shared_ptr<IPrinterPlatform> platform = GetPrinterPlatform();
    if (!platform) {
        report.SetMessage(msg::NoDefaultPrinter);
        return false;
    }
    return platform->Initialize(report);
}

class FixedPrinterPlatform : public IPrinterPlatform {
public:
    FixedPrinterPlatform(YUnicodeString name, const PrinterPageGeometry& page)
        : name_(std::move(name)), page_(page) {}
    bool Initialize(YReportMessageParams&) override { return true; }
    YStringArray GetPrinterNames() override { return {name_}; }
    YUnicodeString GetDefaultPrinterName() override { return name_; }
    bool GetPageGeometry(const PrinterSelection& selection, PrinterPageGeometry& geometry,
                         YReportMessageParams& report) override {
        if (!selection.name.empty() && !rivode::EqualsNoCase(selection.name, name_)) {
            report.SetMessage(msg::PrinterNotFound);
            report.AddString(selection.name);
            return false;
        }
        geometry = page_;
        return true;
    }

private:
    YUnicodeString name_;
    PrinterPageGeometry page_;
};

}  // namespace

void SetPrinterPlatform(std::shared_ptr<IPrinterPlatform> platform) {
    const std::lock_guard lock(platformLock);
    registeredPlatform = std::move(platform);
}

std::shared_ptr<IPrinterPlatform> GetPrinterPlatform() {
    const std::lock_guard lock(platformLock);
    return registeredPlatform;
}

std::shared_ptr<IPrinterPlatform> CreateFixedPrinterPlatform(const YUnicodeString& name,
                                                             const PrinterPageGeometry& page) {
    return std::make_shared<FixedPrinterPlatform>(name, page);
}

PrinterSelection PrinterSelection::From(const PrinterConfig& config) {
    PrinterSelection selection;
    selection.name = config.printerName.Get();
    selection.port = config.usePrinterPort.Get() ? config.printerComPort.Get() : YUnicodeString();
    selection.orientation = config.pageOrientation.Get();
    selection.paperSize = config.paperSize.Get();
    selection.paperSource = config.paperSource.Get();
    selection.quality = config.printerQuality.Get();
    selection.color = config.printerColor.Get();
    selection.duplex = config.printerDuplex.Get();
    selection.mediaType = config.printerMediaType.Get();
    return selection;
}

const PrinterConfig& GetEffectivePrinterConfig(const SessionConfig& session,
                                               const GlobalConfig& global) {
    return session.useGlobalPrintSettings.Get() ? global.printerConfig : session.printerConfig;
}

void Printer::Initialize(bool enabled, std::uint64_t timeoutMs, StatusCallback statusCallback) {
    PrinterBase::Initialize(enabled, timeoutMs, &InitializePlatform, statusCallback);
}

bool Printer::SelectCurrentPrinter(const SessionConfig* session, const GlobalConfig* global) {
    if (session == nullptr || global == nullptr || !HasInitializationSucceeded()) {
        return false;
    }
    return SelectCurrentPrinter(
        PrinterSelection::From(GetEffectivePrinterConfig(*session, *global)));
}

bool Printer::SelectCurrentPrinter(const YUnicodeString& name, const YUnicodeString& port,
                                   const PrinterConfig& config) {
    PrinterSelection selection = PrinterSelection::From(config);
    selection.name = name;
    selection.port = port;
    return SelectCurrentPrinter(selection);
}

bool Printer::SelectCurrentPrinter(const PrinterSelection& selection) {
    return SelectOrCache(selection);
}

PrinterSelection Printer::GetCurrentPrinter() const {
    return GetSelection().value_or(PrinterSelection{});
}

YUnicodeString Printer::GetDefaultPrinterW() const {
    const std::shared_ptr<IPrinterPlatform> platform = GetPrinterPlatform();
    return platform ? platform->GetDefaultPrinterName() : YUnicodeString();
}

bool Printer::HasDefaultPrinter() const {
    return HasInitializationSucceeded() && !GetDefaultPrinterW().empty();
}

YUnicodeString Printer::GetPrinterName() const {
    const YUnicodeString name = GetCurrentPrinter().name;
    return name.empty() ? GetDefaultPrinterW() : name;
}

bool Printer::CalculateMarginLimits(MarginLimits& limits, YReportMessageParams& report) {
    const std::shared_ptr<IPrinterPlatform> platform = GetPrinterPlatform();
    PrinterSelection selection = GetCurrentPrinter();
    selection.name = GetPrinterName();
    if (!platform || selection.name.empty()) {
        report.SetMessage(msg::NoDefaultPrinter);
        return false;
    }
    PrinterPageGeometry page;
    if (!platform->GetPageGeometry(selection, page, report)) {
        return false;
    }
    if (page.dotsPerInchX <= 0 || page.dotsPerInchY <= 0) {
        report.SetMessage(msg::NoPrinterDefaults);
        return false;
    }
    limits.unprintableLeft = RoundMargin(page.physicalOffsetX / page.dotsPerInchX);
    limits.unprintableTop = RoundMargin(page.physicalOffsetY / page.dotsPerInchY);
    limits.pageWidth = RoundMargin(page.physicalWidth / page.dotsPerInchX);
    limits.pageHeight = RoundMargin(page.physicalHeight / page.dotsPerInchY);
    limits.printableRight = RoundMargin(page.printableWidth / page.dotsPerInchX +
                                        page.physicalOffsetX / page.dotsPerInchX);
    limits.printableBottom = RoundMargin(page.printableHeight / page.dotsPerInchY +
                                         page.physicalOffsetY / page.dotsPerInchY);
    return true;
}

// The process's printing: whether printing is enabled, the background initialisation of the
// platform's printing with a time-out and status reports, the current printer, and page margins
// checked against the printer's printable area.
//
// Printing itself is the user interface's (Qt PrintSupport); nothing below it includes Qt. The
// platform half is a seam, IPrinterPlatform, that the Qt half registers at GUI initialisation.
// Until one is registered there is no printer. Hosts without a GUI and tests register a printer
// of known geometry (CreateFixedPrinterPlatform).
#pragma once

#include <RivodeRavudaVU/PrinterConfig.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <memory>
#include <optional>

#pragma GCC visibility push(default)

class GlobalConfig;
class SessionConfig;

// What a printer is asked to print with: its name (empty: the default printer), the port and the
// platform's seven codes.
struct PrinterSelection {
    YUnicodeString name;
    YUnicodeString port;
    std::uint32_t orientation = 1;
    std::uint32_t paperSize = 1;
    std::uint32_t paperSource = 7;
    std::int32_t quality = -3;
    std::uint32_t color = 1;
    std::uint32_t duplex = 1;
    std::uint32_t mediaType = 1;

    static PrinterSelection From(const PrinterConfig& config);
    bool operator==(const PrinterSelection&) const = default;
};

// A page as the printer's device reports it, in device dots.
struct PrinterPageGeometry {
    double dotsPerInchX = 0;
    double dotsPerInchY = 0;
    double physicalOffsetX = 0;  // unprintable strip at the left
    double physicalOffsetY = 0;  // unprintable strip at the top
    double physicalWidth = 0;    // the whole sheet
    double physicalHeight = 0;
    double printableWidth = 0;  // the printable area
    double printableHeight = 0;
};

class IPrinterPlatform {
public:
    virtual ~IPrinterPlatform() = default;
    // Brings the platform's printing up (may take long: it runs on a worker thread). false with
    // the reason in report; a report of PrinterStatusUnavailable says nothing more.
    [[nodiscard]] virtual bool Initialize(YReportMessageParams& report) = 0;
    virtual YStringArray GetPrinterNames() = 0;
    // Empty when there is no default printer.
    virtual YUnicodeString GetDefaultPrinterName() = 0;
    // The page of the printer selection names with its paper and orientation. false with the
    // reason in report.
    [[nodiscard]] virtual bool GetPageGeometry(const PrinterSelection& selection,
                                               PrinterPageGeometry& geometry,
                                               YReportMessageParams& report) = 0;
};

// Registers the platform (nullptr: none). Call at initialisation, before printing starts.
void SetPrinterPlatform(std::shared_ptr<IPrinterPlatform> platform);
std::shared_ptr<IPrinterPlatform> GetPrinterPlatform();
// One printer called name, the default, with the given page whatever the selection asks.
std::shared_ptr<IPrinterPlatform> CreateFixedPrinterPlatform(const YUnicodeString& name,
                                                             const PrinterPageGeometry& page);

class PrinterBase {
public:
    // From the current printer, in inches.
    struct MarginLimits {
        double unprintableLeft = 0;
        double printableRight = 0;  // right edge of the printable area
        double unprintableTop = 0;
        double printableBottom = 0;  // bottom edge of the printable area
        double pageWidth = 0;
        double pageHeight = 0;
    };
    // Offsets from the printable origin, in inches.
    struct Margins {
        double left = 0;
        double right = 0;
        double top = 0;
        double bottom = 0;
    };
    enum class Margin { Left, Right, Top, Bottom };
    enum MarginValidationResult { kLimitsUnavailable = 0, kMarginsInvalid = 1, kMarginsValid = 2 };
    enum class InitState {
        NotInitialized = 0,
        Initializing = 1,
        Succeeded = 2,
        Failed = 3,
        Uninitialized = 4
    };

    using InitFunction = bool (*)(YReportMessageParams& report);
    using StatusCallback = void (*)(bool ready, const YReportMessageParams& status);

    PrinterBase();
    virtual ~PrinterBase();
    PrinterBase(const PrinterBase&) = delete;
    PrinterBase& operator=(const PrinterBase&) = delete;

    // A change of the flag starts initialisation when it is due; when nothing starts, the
    // status callback hears (true, status).
    void Enable(bool enabled);
    // Before the computer sleeps: an initialised (or failed) printing goes back to not
    // initialised, report becomes the status and the callback hears (false, report).
    void Suspend(YReportMessageParams& report);
    // After it wakes: initialisation starts again unless it is running or printing ended.
    void Resume();
    // Waits for a running initialisation function to return, then ends printing for good.
    void Uninitialize();
    YReportMessageParams GetStatus() const;
    InitState GetInitState() const;
    bool HasInitializationSucceeded() const;

    // kLimitsUnavailable without the printer's limits; kMarginsInvalid with MarginsOffPage when a
    // margin lies off the page or opposite margins overlap; kMarginsValid otherwise.
    MarginValidationResult ValidateMargins(const YMarginData& margins,
                                           YReportMessageParams& report);
    // kMarginsInvalid when the chosen margin lies inside the unprintable strip of its side:
    // minimum receives the smallest allowed value and report says so (MinimumLeftMargin, ...).
    MarginValidationResult ValidateMargin(const YMarginData& margins, Margin which, double& minimum,
                                          YReportMessageParams& report);
    // margins: the page margins on entry, their offsets from the printable origin on return;
    // limits receives the printer's limits. false with the reason when they are unavailable.
    [[nodiscard]] bool CalculateMargins(Margins& margins, MarginLimits& limits,
                                        YReportMessageParams& report);
    // Half up to three decimal places.
    static double RoundMargin(double value);

    // The current printer's limits, each rounded to RoundMargin. false with the reason.
    [[nodiscard]] virtual bool CalculateMarginLimits(MarginLimits& limits,
                                                     YReportMessageParams& report) = 0;

protected:
    // Keeps the arguments the first time only, then starts initialisation when enabled.
    void Initialize(bool enabled, std::uint64_t timeoutMs, InitFunction init,
                    StatusCallback statusCallback);
    // Selects the printer now when initialisation succeeded, or keeps it to apply when the
    // running initialisation succeeds. false when neither.
    bool SelectOrCache(const PrinterSelection& selection);
    std::optional<PrinterSelection> GetSelection() const;

public:
    // The printing state, shared with the initialisation threads; defined with them.
    struct State;

private:
    std::shared_ptr<State> state_;
};

class Printer : public PrinterBase {
public:
    // Initialisation through the registered platform.
    void Initialize(bool enabled, std::uint64_t timeoutMs, StatusCallback statusCallback);

    // The session's own settings, or the global ones when it uses the global print settings.
    // Only once initialisation succeeded.
    bool SelectCurrentPrinter(const SessionConfig* session, const GlobalConfig* global);
    bool SelectCurrentPrinter(const YUnicodeString& name, const YUnicodeString& port,
                              const PrinterConfig& config);
    bool SelectCurrentPrinter(const PrinterSelection& selection);
    // The selection in force: the selected one, else the default printer with default codes.
    PrinterSelection GetCurrentPrinter() const;
    // The current printer's name; the default printer's when none was named.
    YUnicodeString GetPrinterName() const;
    YUnicodeString GetDefaultPrinterW() const;
    bool HasDefaultPrinter() const;
    bool ShouldPerformPrinterAction(const SessionConfig*, const GlobalConfig*) const {
        return true;
    }

    bool CalculateMarginLimits(MarginLimits& limits, YReportMessageParams& report) override;
};

// The settings a session prints with: its own, or the global ones.
const PrinterConfig& GetEffectivePrinterConfig(const SessionConfig& session,
                                               const GlobalConfig& global);

#pragma GCC visibility pop

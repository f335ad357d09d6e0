// Page margins against the current printer's printable area.
#include <RivodeRavudaVU/Printer.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <cmath>
#include <cstdio>

namespace msg = rivode::msg;

namespace {

// The minimum as users type margins: "0.25", "1", "0.125".
YUnicodeString FormatMargin(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", PrinterBase::RoundMargin(value));
    std::string trimmed(text);
    while (!trimmed.empty() && trimmed.back() == '0') {
        trimmed.pop_back();
    }
    if (!trimmed.empty() && trimmed.back() == '.') {
        trimmed.pop_back();
    }
    return rivode::FromAscii(trimmed);
}

}  // namespace

double PrinterBase::RoundMargin(double value) {
    return std::floor(value * 1000.0 + 0.5) / 1000.0;
}

PrinterBase::MarginValidationResult PrinterBase::ValidateMargins(const YMarginData& m,
                                                                 YReportMessageParams& report) {
    MarginLimits limits;
    if (!CalculateMarginLimits(limits, report)) {
        return kLimitsUnavailable;
    }
    const double W = limits.pageWidth;
    const double H = limits.pageHeight;
    const double X = limits.unprintableLeft;
    const double Y = limits.unprintableTop;
    const double x = m.left - X;
    const double y = m.top - Y;
    const bool offPageOrOverlapping = x >= W || m.right + X < 0 || y > H || m.bottom + Y < 0 ||
                                      x > W - m.right - X || y > H - m.bottom - Y;
    if (offPageOrOverlapping) {
        report.SetMessage(msg::MarginsOffPage);
        return kMarginsInvalid;
    }
    return kMarginsValid;
}

PrinterBase::MarginValidationResult PrinterBase::ValidateMargin(const YMarginData& m, Margin which,
                                                                double& minimum,
                                                                YReportMessageParams& report) {
    MarginLimits limits;
    if (!CalculateMarginLimits(limits, report)) {
        return kLimitsUnavailable;
    }
    double value = 0;
    std::uint32_t message = 0;
    switch (which) {
        case Margin::Left:
            value = m.left;
            minimum = limits.unprintableLeft;
            message = msg::MinimumLeftMargin;
            break;
        case Margin::Right:
            value = m.right;
            minimum = limits.pageWidth - limits.printableRight;
            message = msg::MinimumRightMargin;
            break;
        case Margin::Top:
            value = m.top;
            minimum = limits.unprintableTop;
            message = msg::MinimumTopMargin;
            break;
        case Margin::Bottom:
            value = m.bottom;
            minimum = limits.pageHeight - limits.printableBottom;
            message = msg::MinimumBottomMargin;
            break;
    }
    // Compared as users see them, to three places, so a margin typed at the limit passes.
    minimum = RoundMargin(minimum);
    if (RoundMargin(value) >= minimum) {
        return kMarginsValid;
    }
    report.SetMessage(message);
    report.AddString(FormatMargin(minimum));
    return kMarginsInvalid;
}

bool PrinterBase::CalculateMargins(Margins& margins, MarginLimits& limits,
                                   YReportMessageParams& report) {
    if (!CalculateMarginLimits(limits, report)) {
        return false;
    }
    const Margins page = margins;
    margins.left = page.left - limits.unprintableLeft;
    margins.right = limits.pageWidth - page.right - limits.unprintableLeft;
    margins.top = page.top - limits.unprintableTop;
    margins.bottom = limits.pageHeight - page.bottom - limits.unprintableTop;
    return true;
}

// Page margins against a letter page whose printer cannot reach a quarter inch on each side.
#include <RivodeRavudaVU/Printer.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

PrinterPageGeometry LetterWithQuarterInchBorders() {
    PrinterPageGeometry page;
    page.dotsPerInchX = 600;
    page.dotsPerInchY = 300;  // a different vertical resolution catches swapped axes
    page.physicalOffsetX = 150;
    page.physicalOffsetY = 75;
    page.physicalWidth = 8.5 * 600;
    page.physicalHeight = 11 * 300;
    page.printableWidth = 8.0 * 600;
    page.printableHeight = 10.5 * 300;
    return page;
}

class PrinterMarginsTest : public ::testing::Test {
protected:
    PrinterMarginsTest() {
        SetPrinterPlatform(CreateFixedPrinterPlatform(u"Office", LetterWithQuarterInchBorders()));
    }
    ~PrinterMarginsTest() override { SetPrinterPlatform(nullptr); }
    Printer printer_;
};

TEST_F(PrinterMarginsTest, EachSideIsValidAtItsLimitAndNotAThousandthInside) {
    using M = PrinterBase::Margin;
    const struct {
        M side;
        YMarginData margins;
        PrinterBase::MarginValidationResult result;
        std::uint32_t id;
    } cases[] = {
        {M::Left, {0.25, 0.5, 0.5, 0.5}, PrinterBase::kMarginsValid, 0},
        {M::Left, {0.249, 0.5, 0.5, 0.5}, PrinterBase::kMarginsInvalid, msg::MinimumLeftMargin},
        {M::Left, {0.2496, 0.5, 0.5, 0.5}, PrinterBase::kMarginsValid, 0},  // rounds to 0.25
        {M::Right, {0.5, 0.25, 0.5, 0.5}, PrinterBase::kMarginsValid, 0},
        {M::Right, {0.5, 0.249, 0.5, 0.5}, PrinterBase::kMarginsInvalid, msg::MinimumRightMargin},
        {M::Top, {0.5, 0.5, 0.25, 0.5}, PrinterBase::kMarginsValid, 0},
        {M::Top, {0.5, 0.5, 0.1, 0.5}, PrinterBase::kMarginsInvalid, msg::MinimumTopMargin},
        {M::Bottom, {0.5, 0.5, 0.5, 0.25}, PrinterBase::kMarginsValid, 0},
        {M::Bottom, {0.5, 0.5, 0.5, 0}, PrinterBase::kMarginsInvalid, msg::MinimumBottomMargin},
    };
    for (const auto& c : cases) {
        double minimum = -1;
        YReportMessageParams report;
        EXPECT_EQ(printer_.ValidateMargin(c.margins, c.side, minimum, report), c.result)
            << static_cast<int>(c.side) << " " << c.margins.left;
        EXPECT_EQ(report.GetMessageId(), c.id);
        EXPECT_DOUBLE_EQ(minimum, 0.25);
    }
    YReportMessageParams report;
    double minimum = 0;
    printer_.ValidateMargin({0.1, 0.5, 0.5, 0.5}, M::Left, minimum, report);
    EXPECT_EQ(ToUtf8(report.GetTextTrimmed()), "The minimum left margin is 0.25");
}

TEST_F(PrinterMarginsTest, MarginsOffThePageOrOverlappingAreRefusedAtTheEdge) {
    const struct {
        YMarginData margins;
        bool valid;
    } cases[] = {
        {{0.5, 0.5, 0.5, 0.5}, true},     {{5, 4, 0.5, 0.5}, false},  // left and right overlap
        {{4.25, 4.25, 0.5, 0.5}, true},                               // they meet exactly
        {{4.251, 4.25, 0.5, 0.5}, false}, {{0.5, 0.5, 5.5, 5.5}, true},
        {{0.5, 0.5, 5.501, 5.5}, false},   // top and bottom overlap
        {{8.75, -0.25, 0.5, 0.5}, false},  // left at the page width past the unprintable strip
        {{0.5, -0.26, 0.5, 0.5}, false},   // right off the page
        {{0.5, 0.5, 0.5, -0.251}, false},  // bottom off the page
        {{0.5, 0.5, 0.5, -0.25}, true},
    };
    for (const auto& c : cases) {
        YReportMessageParams report;
        const auto result = printer_.ValidateMargins(c.margins, report);
        EXPECT_EQ(result, c.valid ? PrinterBase::kMarginsValid : PrinterBase::kMarginsInvalid)
            << c.margins.left << " " << c.margins.right << " " << c.margins.top << " "
            << c.margins.bottom;
        EXPECT_EQ(report.GetMessageId(), c.valid ? 0u : msg::MarginsOffPage);
    }
}

TEST_F(PrinterMarginsTest, LimitsAndOffsetsComeFromTheDevicesDots) {
    PrinterBase::Margins margins{1, 1, 1, 1};
    PrinterBase::MarginLimits limits;
    YReportMessageParams report;
    ASSERT_TRUE(printer_.CalculateMargins(margins, limits, report));
    EXPECT_DOUBLE_EQ(limits.unprintableLeft, 0.25);
    EXPECT_DOUBLE_EQ(limits.printableRight, 8.25);
    EXPECT_DOUBLE_EQ(limits.printableBottom, 10.75);
    EXPECT_DOUBLE_EQ(limits.pageHeight, 11);
    EXPECT_DOUBLE_EQ(margins.left, 0.75);
    EXPECT_DOUBLE_EQ(margins.right, 7.25);
    EXPECT_DOUBLE_EQ(margins.top, 0.75);
    EXPECT_DOUBLE_EQ(margins.bottom, 9.75);
}

TEST_F(PrinterMarginsTest, WithoutAPrinterTheLimitsAreUnavailable) {
    SetPrinterPlatform(nullptr);
    YReportMessageParams report;
    double minimum = 0;
    EXPECT_EQ(printer_.ValidateMargins({}, report), PrinterBase::kLimitsUnavailable);
    EXPECT_EQ(report.GetMessageId(), msg::NoDefaultPrinter);
    EXPECT_EQ(printer_.ValidateMargin({}, PrinterBase::Margin::Top, minimum, report),
              PrinterBase::kLimitsUnavailable);
}

TEST(RoundMarginTest, RoundsHalfUpToThousandths) {
    EXPECT_DOUBLE_EQ(PrinterBase::RoundMargin(0.12345), 0.123);
    EXPECT_DOUBLE_EQ(PrinterBase::RoundMargin(0.2506), 0.251);
    EXPECT_DOUBLE_EQ(PrinterBase::RoundMargin(0.0125), 0.013);
    EXPECT_DOUBLE_EQ(PrinterBase::RoundMargin(2), 2);
}

}  // namespace
}  // namespace rivode::test

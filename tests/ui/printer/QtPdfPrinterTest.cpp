// Real margin limits from Qt's PDF printer: the page sizes Qt reports, and margins validated
// against them through the library's printer.
#include "ui/QtPrinterPlatform.h"

#include <RivodeRavudaVU/RivodeMessages.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

class QtPdfPrinterTest : public ::testing::Test {
protected:
    QtPdfPrinterTest() { SetPrinterPlatform(CreateQtPrinterPlatform()); }
    ~QtPdfPrinterTest() override { SetPrinterPlatform(nullptr); }

    // The PDF printer's page for the paper code and orientation, into page_.
    void LoadPage(std::uint32_t paperSize, std::uint32_t orientation = 1) {
        PrinterSelection selection;
        selection.name = YUnicodeString(kQtPdfPrinterName);
        selection.paperSize = paperSize;
        selection.orientation = orientation;
        YReportMessageParams report;
        EXPECT_TRUE(GetPrinterPlatform()->GetPageGeometry(selection, page_, report));
    }

    PrinterPageGeometry page_;
};

TEST_F(QtPdfPrinterTest, LetterAndA4HaveTheirSizesInEitherOrientation) {
    LoadPage(1);
    EXPECT_NEAR(page_.physicalWidth / page_.dotsPerInchX, 8.5, 0.01);
    EXPECT_NEAR(page_.physicalHeight / page_.dotsPerInchY, 11, 0.01);
    EXPECT_LE(page_.physicalOffsetX + page_.printableWidth, page_.physicalWidth + 0.5);
    LoadPage(9, 2);
    EXPECT_NEAR(page_.physicalWidth / page_.dotsPerInchX, 11.69, 0.01);
    EXPECT_NEAR(page_.physicalHeight / page_.dotsPerInchY, 8.27, 0.01);
}

TEST_F(QtPdfPrinterTest, TheLibrarysPrinterValidatesMarginsAgainstThePdfPage) {
    Printer printer;
    printer.Initialize(true, 10000, nullptr);
    while (printer.GetInitState() == PrinterBase::InitState::Initializing) {
    }
    ASSERT_TRUE(printer.HasInitializationSucceeded());
    EXPECT_TRUE(printer.HasDefaultPrinter());
    PrinterSelection letter;
    letter.name = YUnicodeString(kQtPdfPrinterName);
    ASSERT_TRUE(printer.SelectCurrentPrinter(letter));

    PrinterBase::MarginLimits limits;
    YReportMessageParams report;
    ASSERT_TRUE(printer.CalculateMarginLimits(limits, report));
    EXPECT_NEAR(limits.pageWidth, 8.5, 0.001);
    EXPECT_GE(limits.unprintableLeft, 0);
    EXPECT_LE(limits.printableRight, limits.pageWidth);

    EXPECT_EQ(printer.ValidateMargins({0.5, 0.5, 0.5, 0.5}, report), PrinterBase::kMarginsValid);
    EXPECT_EQ(printer.ValidateMargins({5, 4, 0.5, 0.5}, report), PrinterBase::kMarginsInvalid);
    EXPECT_EQ(report.GetMessageId(), msg::MarginsOffPage);
    // At the printable edge itself each side is valid.
    const YMarginData atLimits{limits.unprintableLeft, limits.pageWidth - limits.printableRight,
                               limits.unprintableTop, limits.pageHeight - limits.printableBottom};
    for (const auto side : {PrinterBase::Margin::Left, PrinterBase::Margin::Right,
                            PrinterBase::Margin::Top, PrinterBase::Margin::Bottom}) {
        double minimum = -1;
        YReportMessageParams sideReport;
        EXPECT_EQ(printer.ValidateMargin(atLimits, side, minimum, sideReport),
                  PrinterBase::kMarginsValid);
    }
    printer.Uninitialize();
}

}  // namespace
}  // namespace rivode::test

#include "ui/QtPrinterPlatform.h"

#include <DavaraZE/YQtText.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>

namespace {

// The platform's paper codes the settings store, as Qt's page sizes.
QPageSize PageSizeOf(std::uint32_t code) {
    switch (code) {
        case 5:
            return QPageSize(QPageSize::Legal);
        case 8:
            return QPageSize(QPageSize::A3);
        case 9:
            return QPageSize(QPageSize::A4);
        case 11:
            return QPageSize(QPageSize::A5);
        default:
            return QPageSize(QPageSize::Letter);
    }
}

class QtPrinterPlatform : public IPrinterPlatform {
public:
    bool Initialize(YReportMessageParams&) override { return true; }

    YStringArray GetPrinterNames() override {
        YStringArray names;
        for (const QString& name : QPrinterInfo::availablePrinterNames()) {
            names.push_back(YFromQString(name));
        }
        names.push_back(YUnicodeString(kQtPdfPrinterName));
        return names;
    }

    YUnicodeString GetDefaultPrinterName() override {
        const QString name = QPrinterInfo::defaultPrinterName();
        return name.isEmpty() ? YUnicodeString(kQtPdfPrinterName) : YFromQString(name);
    }

    bool GetPageGeometry(const PrinterSelection& selection, PrinterPageGeometry& geometry,
                         YReportMessageParams& report) override {
        QPrinter printer(QPrinter::HighResolution);
        if (selection.name.empty() || selection.name == kQtPdfPrinterName) {
            printer.setOutputFormat(QPrinter::PdfFormat);
        } else {
            const QPrinterInfo info = QPrinterInfo::printerInfo(YToQString(selection.name));
            if (info.isNull()) {
                report.SetMessage(rivode::msg::PrinterNotFound);
                report.AddString(selection.name);
                return false;
            }
            printer.setPrinterName(info.printerName());
        }
        printer.setPageSize(PageSizeOf(selection.paperSize));
        printer.setPageOrientation(selection.orientation == 2 ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
        const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
        const QRectF page = printer.pageRect(QPrinter::DevicePixel);
        geometry.dotsPerInchX = printer.logicalDpiX();
        geometry.dotsPerInchY = printer.logicalDpiY();
        geometry.physicalOffsetX = page.left() - paper.left();
        geometry.physicalOffsetY = page.top() - paper.top();
        geometry.physicalWidth = paper.width();
        geometry.physicalHeight = paper.height();
        geometry.printableWidth = page.width();
        geometry.printableHeight = page.height();
        if (geometry.dotsPerInchX <= 0 || geometry.physicalWidth <= 0) {
            report.SetMessage(rivode::msg::NoPrinterDefaults);
            return false;
        }
        return true;
    }
};

}  // namespace

std::shared_ptr<IPrinterPlatform> CreateQtPrinterPlatform() {
    return std::make_shared<QtPrinterPlatform>();
}

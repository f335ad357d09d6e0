#include "ui/QtPrinterPlatform.h"

#include <RivodeRavudaVU/RivodeMessages.h>

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>

namespace {

QString ToQString(const YUnicodeString& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

YUnicodeString FromQString(const QString& text) {
    return YUnicodeString(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

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
            names.push_back(FromQString(name));
        }
        names.push_back(YUnicodeString(kQtPdfPrinterName));
        return names;
    }

    YUnicodeString GetDefaultPrinterName() override {
        const QString name = QPrinterInfo::defaultPrinterName();
        return name.isEmpty() ? YUnicodeString(kQtPdfPrinterName) : FromQString(name);
    }

    bool GetPageGeometry(const PrinterSelection& selection, PrinterPageGeometry& geometry,
                         YReportMessageParams& report) override {
        QPrinter printer(QPrinter::HighResolution);
        if (selection.name.empty() || selection.name == kQtPdfPrinterName) {
            printer.setOutputFormat(QPrinter::PdfFormat);
        } else {
            const QPrinterInfo info = QPrinterInfo::printerInfo(ToQString(selection.name));
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

// The printer platform over Qt PrintSupport: the printers Qt knows, and the page of a printer as
// its QPrinter reports it. The name "PDF" is Qt's PDF output, a printer every machine has; it
// serves as the default printer where the print system offers none.
//
// Register it at GUI initialisation (SetPrinterPlatform(CreateQtPrinterPlatform())), after the
// application object exists. Its calls run on any thread Qt allows printers on; the library calls
// GetPageGeometry from the user-interface thread.
#pragma once

#include <RivodeRavudaVU/Printer.h>

#include <memory>

inline constexpr std::u16string_view kQtPdfPrinterName = u"PDF";

std::shared_ptr<IPrinterPlatform> CreateQtPrinterPlatform();

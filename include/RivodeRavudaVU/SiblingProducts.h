// Sibling products: which members of the product family are installed beside this library,
// the product questions the rest of the library asks, and starting one product from the other.
//
// Products go by the numbers of ProductNumbers.h. Quillterm and Quillfile installed together
// work integrated: they share one configuration folder and passphrase, open each other with
// the current session, and offer each other's protocols.
//
// The installation state is process-wide. It is detected once when the host initialises the
// library (DetectSiblingProducts) and read afterwards from any thread; the setters and the
// detection are meant for the host's thread at start-up (and for tests).
#pragma once

#include <RivodeRavudaVU/ProductNumbers.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <string>

#pragma GCC visibility push(default)

class QWidget;

// Looks for the sibling executables in folder (a native path) and records, for each, its full
// path and whether it counts as installed: its version record declares an application, its
// file major version is at least 5 ("QTM", "Quillterm") or 3 ("Quillfile"), and its company is
// "Yarrowby Software, Inc.". A missing, unreadable or foreign executable counts as not
// installed; detection never fails.
void DetectSiblingProducts(const std::string& folder);
// The same for the folder holding this library, where an installation puts the siblings.
void DetectSiblingProducts();

bool IsQtmInstalled();
bool IsQuilltermInstalled();
bool IsQuillfileInstalled();
// Overrides the detected flags (a sibling whose modules would not load counts as absent).
void SetQuilltermInstalled(bool installed);
void SetQuillfileInstalled(bool installed);

// The executable's full path; empty when it is not installed.
YUnicodeString GetQtmPath();
YUnicodeString GetQuilltermPath();
YUnicodeString GetQuillfilePath();
// Where the last detection looked for the executable of product 1, 3 or 6, whether or not it
// counts as installed (for a host that shows why a sibling is missing); empty before any
// detection and for other products.
YUnicodeString GetSiblingExecutablePath(int product);

// Quillterm installed.
bool CanLaunchTerminalApp();
// Quillterm or the older terminal product installed.
bool HasTerminalProtocols();
// Quillfile installed.
bool HasTransferProtocols();
// Both of the above.
bool HasIntegratedProtocols();

// product is kProductQuillterm or kProductQuillfile and both of them are installed.
bool IsIntegrated(int product);
// The same, and siblingName becomes the sibling's application name ("Quillfile" for
// Quillterm, "Quillterm" for Quillfile); it is left alone when the answer is false.
bool IsIntegrated(int product, YUnicodeString& siblingName);

// kProductWyrmlink for itself, else kProductQuillterm.
int GetTerminalAppProductID(int product);
// kProductFerrule for itself, else kProductQuillfile.
int GetTransferAppProductID(int product);
// "Quillterm", "Quillfile", "Wyrmlink" or "Ferrule" for those products; empty for the others.
YUnicodeString GetProductDisplayName(int product);

// Flags of GetLaunchAppParameters.
inline constexpr std::uint32_t kLaunchOpenInTab = 0x1;

// The command line with which one product opens the other:
//   /EncodedArgs /F "<folder>" [/T] [/S "<session>"]
// where each quoted text is the UTF-8 form of the path in Base64 (standard alphabet, "="
// padding), and "====" stands in for a path that is not valid UTF-16. /T comes with
// kLaunchOpenInTab; /S only when sessionPath is not null.
YUnicodeString GetLaunchAppParameters(std::uint32_t flags, const YUnicodeString& configFolder,
                                      const char16_t* sessionPath);

// Start the terminal sibling (Quillterm when installed, else the older terminal product) or
// Quillfile with ready parameters. When no executable is installed or it cannot be started,
// the user is shown 0xE1380003 with the product's display name and the executable's path
// (warning icon) and the answer is false. parent may be null.
bool LaunchTerminalApp(QWidget* parent, const YUnicodeString& parameters);
bool LaunchFileTransferApp(QWidget* parent, const YUnicodeString& parameters);
// The same with the parameters built from the configuration folder and the session (null for
// none). The terminal side opens the session in a tab when openInTab is set: callers pass the
// global option "Open Sessions In Tab", which lives in a layer above this one. The transfer
// side has no such choice.
bool LaunchTerminalApp(QWidget* parent, const YUnicodeString& configFolder,
                       const char16_t* sessionPath, bool openInTab);
bool LaunchFileTransferApp(QWidget* parent, const YUnicodeString& configFolder,
                           const char16_t* sessionPath);

#pragma GCC visibility pop

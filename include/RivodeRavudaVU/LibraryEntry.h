// The library's entry points: what a host calls before anything else of the library and what it
// calls before unloading it, the process-wide settings they make and the hooks they register.
//
// At start-up a host calls RivodeRavudaVuInit, then RivodeRavudaVuInitProfileFactory, then, when
// it has a user interface, RivodeRavudaVuInitGUI. Nothing that opens a profile store may run
// before the factory function is registered. The entry points belong to the host's main thread;
// the getters below may be called from any thread once the entry points have run.
#pragma once

#include <RivodeRavudaVU/ProductNumbers.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <span>
#include <vector>

#pragma GCC visibility push(default)

class IReportMessageParams;
class QWidget;
// The user interface's list of session images; only the user-interface layer knows its content.
class YImageList;
class YProfileStoreFactory;

// Flags of RivodeRavudaVuInit.
// Share the configuration passphrase with the user's other host processes through the named
// passphrase area; without it the process keeps its passphrase to itself.
inline constexpr int kRivodeInitSharePassphrase = 0x1;
// The host runs without a user interface (a console or a service).
inline constexpr int kRivodeInitNoUserInterface = 0x2;

// The host's report router: it hands the reports it is given to its destinations (a log, an
// event view); which destination gets what is the router's business. The host owns it.
class YReportMessageRouter {
public:
    virtual void RouteReport(IReportMessageParams& report) = 0;

protected:
    ~YReportMessageRouter() = default;
};

using YReportMessageRouterFunction = YReportMessageRouter* (*)();
using YProfileStoreFactoryGetter = YProfileStoreFactory* (*)();
// Lets the user pick from items; the integer argument and the result are the host's, passed
// through unchanged. parent may be null.
using YListPromptFunction = long long (*)(const char16_t* text, std::vector<YUnicodeString>& items,
                                          int option, QWidget* parent);
using YImageListFunction = YImageList* (*)();

// Records the host product (a YProductNumber), the report-router function (may be null) and
// the flags; builds the product's emulation name table; makes the session-status icons
// available; detects the sibling products installed beside the library; and sets up the
// passphrase area: the area shared under the product's names when flags has
// kRivodeInitSharePassphrase and it can be set up, otherwise a block private to the process. A
// second call replaces what the first one set. Never fails.
void RivodeRavudaVuInit(int product, YReportMessageRouterFunction getRouter, int flags);
// Registers the function every profile store built without a factory asks for its factory. The
// host keeps ownership of the factories the function returns.
void RivodeRavudaVuInitProfileFactory(YProfileStoreFactoryGetter getFactory);
// Records the user-interface callbacks (either may be null), creates the global configuration
// when there is none yet, and rebuilds the emulation name table for product.
void RivodeRavudaVuInitGUI(int product, YListPromptFunction listPrompt,
                           YImageListFunction getImageList);
// Releases the passphrase area, then the session database, then the command database. The host
// calls it before unloading the library and the library's unload calls it again; a second call
// finds nothing to release. The global configuration and the credential database have their own
// release functions (FreeGlobalConfig, FreeCredentialDatabase).
void RivodeRavudaVuCleanupForUnload();

// The router the host's function yields now; null without a function or when it yields none.
YReportMessageRouter* GetReportMessageRouter();
// Hands report to the host's router; false when there is none to take it.
bool RouteReportMessage(IReportMessageParams& report);

// The callbacks given to RivodeRavudaVuInitGUI; null before it or when the host gave none.
YListPromptFunction GetListPromptFunction();
YImageListFunction GetImageListFunction();

// The states a session's tab or list entry shows with an icon.
enum class YSessionStatus {
    Connected,
    Disconnected,
    NewInput,
    Inactive,
    Locked,
    ScriptRunning,
    Scratchpad,
};

// A status icon: a 16 by 16 pixel PNG image, drawn in the status's default indicator color. The
// bytes are part of the library and stay valid while it is loaded.
struct YStatusIcon {
    YSessionStatus status;
    std::span<const std::uint8_t> png;
};

// One icon per status, in the order of YSessionStatus; empty until RivodeRavudaVuInit has run.
std::span<const YStatusIcon> GetIconStatusArray();

#pragma GCC visibility pop

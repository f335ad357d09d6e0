#include <RivodeRavudaVU/LibraryEntry.h>

#include "environment/PassphraseArea.h"
#include "environment/StatusIcons.h"
#include "products/HostProduct.h"

#include <RivodeRavudaVU/CommandDatabase.h>
#include <RivodeRavudaVU/EmulationNames.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/SiblingProducts.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <atomic>

static_assert(kRivodeInitSharePassphrase == kHostInitSharePassphrase &&
              kRivodeInitSharePassphrase == kShareConfigPassphrase);
static_assert(kRivodeInitNoUserInterface == kHostInitNoUserInterface);

namespace {

// Set by the host's main thread at start-up and read from any thread afterwards.
std::atomic<YReportMessageRouterFunction> routerFunction{nullptr};
std::atomic<YListPromptFunction> listPromptFunction{nullptr};
std::atomic<YImageListFunction> imageListFunction{nullptr};

}  // namespace

void RivodeRavudaVuInit(int product, YReportMessageRouterFunction getRouter, int flags) {
    SetHostProduct(product, flags);
    routerFunction.store(getRouter);
    BuildEmulationNameTables(product);
    LoadStatusIcons();
    // Before the passphrase area: whether the product runs integrated with its sibling decides
    // the area's names.
    DetectSiblingProducts();
    CreatePassphraseArea(product, flags);
}

void RivodeRavudaVuInitProfileFactory(YProfileStoreFactoryGetter getFactory) {
    SetProfileStoreFactoryFunction(getFactory);
}

void RivodeRavudaVuInitGUI(int product, YListPromptFunction listPrompt,
                           YImageListFunction getImageList) {
    listPromptFunction.store(listPrompt);
    imageListFunction.store(getImageList);
    GetGlobalConfig(nullptr);
    BuildEmulationNameTables(product);
}

void RivodeRavudaVuCleanupForUnload() {
    ReleasePassphraseArea();
    FreeSessionDatabaseImpl();
    FreeCommandDatabaseImpl();
}

YReportMessageRouter* GetReportMessageRouter() {
    const YReportMessageRouterFunction function = routerFunction.load();
    return function != nullptr ? function() : nullptr;
}

bool RouteReportMessage(IReportMessageParams& report) {
    YReportMessageRouter* router = GetReportMessageRouter();
    if (router == nullptr) {
        return false;
    }
    router->RouteReport(report);
    return true;
}

YListPromptFunction GetListPromptFunction() {
    return listPromptFunction.load();
}

YImageListFunction GetImageListFunction() {
    return imageListFunction.load();
}

namespace {

// The library's unload, whether by the host or at process exit. A static object rather than a
// [[gnu::destructor]] function: at exit a library's destructor functions run only after its
// static objects are destroyed, and the teardown still needs the lower layers' objects. Their
// files come first in the library, so their objects are destroyed after this one.
struct LibraryUnload {
    LibraryUnload() = default;
    LibraryUnload(const LibraryUnload&) = delete;
    LibraryUnload& operator=(const LibraryUnload&) = delete;
    ~LibraryUnload() {
        FreeGlobalConfig();
        RivodeRavudaVuCleanupForUnload();
    }
};

const LibraryUnload libraryUnload;

}  // namespace

#include "cli/StoreFactory.h"

#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YXmlFileStore.h>

namespace rivode::cli {

std::unique_ptr<YProfileStoreFactory> MakeStoreFactory(const StoreFolders& folders) {
    if (folders.settingsFile) {
        // Every store of a run shares nothing with the others: each loads the file itself and
        // would save it whole, so writing through several of them could lose changes. A
        // settings file is changed by importing it, not here.
        return std::make_unique<YXmlFileStoreFactory>(FromUtf8(folders.main),
                                                      YXmlFileStoreReadOnly);
    }
    return std::make_unique<YIniFileStoreFactory>(FromUtf8(folders.main),
                                                  FromUtf8(folders.personal));
}

}  // namespace rivode::cli

// What the entry-point tests share: a look at the passphrase area another host process of a
// product holds open.
#pragma once

#include "environment/PassphraseArea.h"
#include "storage/passphrase/ConfigPassphraseBlock.h"

#include <gtest/gtest.h>

#include <memory>

namespace rivode::test {

// The area under the names of product, opened as another host process of that product would,
// with sensitive data switched off in it: a process that opens the same area sees it so.
inline std::unique_ptr<YSharedMemoryCache> OpenAreaWithPassphraseDisabled(int product,
                                                                          bool integrated) {
    const PassphraseAreaNames names = GetPassphraseAreaNames(product, integrated);
    YReportMessageParams report;
    std::unique_ptr<YSharedMemoryCache> area =
        YSharedMemoryCache::OpenShared(names.mapName, names.lockName, report);
    if (!area) {
        ADD_FAILURE() << ToUtf8(report.GetText());
        return area;
    }
    std::lock_guard guard(area->GetLock());
    static_cast<ConfigPassphraseBlock*>(area->GetData())->disabled = 1;
    return area;
}

}  // namespace rivode::test

// The store factory of this run's configuration: the INI folder store of the configuration
// folder (with its personal-data folder), or the XML file store of a settings file, which
// rivode opens for reading only.
#pragma once

#include "cli/ConfigFolder.h"

#include <RivodeRavudaVU/YProfileStore.h>

#include <memory>

namespace rivode::cli {

std::unique_ptr<YProfileStoreFactory> MakeStoreFactory(const StoreFolders& folders);

}  // namespace rivode::cli

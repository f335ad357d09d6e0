// The key of a store that has no back end (no factory was given and none is registered), and
// of a back end that could not open a key: every operation fails, with the reason in its status.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>

#include <memory>

namespace rivode::storage {

std::unique_ptr<YProfilePrivateKey> MakeUnavailableProfileKey();

}  // namespace rivode::storage

// The random source over the platform's random bytes; GetProcessRandomSource hands out the one
// instance of the process.
#pragma once

#include <RivodeRavudaVU/YEncryptedString.h>

class YCapiRandomSource : public YUnknown<IRandomSource> {
public:
    bool GetRandomBytes(void* buffer, std::size_t count) override;
};

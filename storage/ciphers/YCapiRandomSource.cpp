#include "storage/ciphers/YCapiRandomSource.h"

#include "platform/RandomBytes.h"

bool YCapiRandomSource::GetRandomBytes(void* buffer, std::size_t count) {
    return rivode::platform::GetRandomBytes(buffer, count) == 0;
}

YRefPtr<IRandomSource> GetProcessRandomSource() {
    // Never released: values may still be enciphered while static objects are destroyed.
    static IRandomSource* const source = new YCapiRandomSource;
    return YRefPtr<IRandomSource>::Share(source);
}

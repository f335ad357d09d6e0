#include "products/HostProduct.h"

#include <RivodeRavudaVU/ProductNumbers.h>

#include <atomic>

namespace {

// Atomics rather than plain ints: the host writes these once at start-up, but worker threads
// of the library read them and nothing else orders the two.
std::atomic<int> hostProduct{kProductQuillterm};
std::atomic<int> hostInitFlags{0};

}  // namespace

void SetHostProduct(int product, int flags) {
    hostProduct.store(product);
    hostInitFlags.store(flags);
}

int GetHostProduct() {
    return hostProduct.load();
}

int GetHostInitFlags() {
    return hostInitFlags.load();
}

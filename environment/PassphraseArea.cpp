#include "environment/PassphraseArea.h"

#include "storage/passphrase/ConfigPassphraseBlock.h"

#include <RivodeRavudaVU/SiblingProducts.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <string>

PassphraseAreaNames GetPassphraseAreaNames(int product, bool integrated) {
    PassphraseAreaNames names{u"{BE251B73-D0CC-49D6-BAD8-73E1DF33D0DE}",
                              u"{4F896D0D-BE15-474B-9673-7EE8C3FB1222}"};
    if (!integrated) {
        const YUnicodeString suffix = u"{" + rivode::FromAscii(std::to_string(product)) + u"}";
        names.mapName += suffix;
        names.lockName += suffix;
    }
    return names;
}

void CreatePassphraseArea(int product, int flags) {
    if ((flags & kShareConfigPassphrase) != 0) {
        const PassphraseAreaNames names = GetPassphraseAreaNames(product, IsIntegrated(product));
        // A failure is not the host's concern: it goes on with a passphrase of its own.
        YReportMessageParams report;
        if (OpenSharedPassphraseBlock(names.mapName, names.lockName, report)) {
            return;
        }
    }
    UsePrivatePassphraseBlock();
}

void ReleasePassphraseArea() {
    ReleasePassphraseBlock();
}

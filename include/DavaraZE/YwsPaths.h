// The folders behind the path variables "${YWS_CONFIG_PATH}", "${YWS_INSTALL_PATH}",
// "${YWS_USER_DATA_PATH}" and "${YWS_SSH_DATA_PATH}": native paths without a trailing
// separator. Thread-safe.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

YUnicodeString GetYwsConfigPathSub();
YUnicodeString GetYwsInstallPathSub();
YUnicodeString GetYwsUserDataPathSub();
YUnicodeString GetYwsSshDataPathSub();

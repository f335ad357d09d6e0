// The folders behind the path variables "${YWS_CONFIG_PATH}", "${YWS_INSTALL_PATH}",
// "${YWS_USER_DATA_PATH}" and "${YWS_SSH_DATA_PATH}": native paths without a trailing
// separator. Thread-safe.
//
// ${YWS_CONFIG_PATH}     the current configuration folder: what the host or the environment
//                        layer last set with SetYwsConfigPathSub, else GetDefaultConfigFolder().
// ${YWS_INSTALL_PATH}    the folder of the installed companion library.
// ${YWS_USER_DATA_PATH}  the user's data folder of the product family:
//                        $XDG_DATA_HOME/yarrowby (~/.local/share/yarrowby when unset).
// ${YWS_SSH_DATA_PATH}   the SSH data of the product family (host keys, user keys), kept apart
//                        from other SSH clients' files: ${YWS_USER_DATA_PATH}/SSH.
//
// None of the getters creates its folder.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#pragma GCC visibility push(default)

YUnicodeString GetYwsConfigPathSub();
YUnicodeString GetYwsInstallPathSub();
YUnicodeString GetYwsUserDataPathSub();
YUnicodeString GetYwsSshDataPathSub();

// Records the configuration folder the process uses from now on (trailing separators are
// dropped, the root "/" stays). An empty folder returns to the default.
void SetYwsConfigPathSub(const YUnicodeString& folder);

// The configuration folder used when nothing else names one:
// $XDG_CONFIG_HOME/yarrowby/Config (~/.config/yarrowby/Config when unset).
YUnicodeString GetDefaultConfigFolder();

#pragma GCC visibility pop

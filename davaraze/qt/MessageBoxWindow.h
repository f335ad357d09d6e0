// Message boxes drawn as Qt message boxes.
#pragma once

#include <DavaraZE/YUserInterface.h>

#include <QString>

namespace davaraze::qt {

// The label of a button answer (YID_OK, ...), mnemonic marked, in the user's language.
QString ButtonText(int answer);
// The object name a button of a window carries, so scripts and tests can find it: "YID_YES".
QString ButtonObjectName(int answer);

int ShowQtMessageBox(const YMessageBoxRequest& request);

}  // namespace davaraze::qt

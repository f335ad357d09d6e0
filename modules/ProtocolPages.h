// The reference modules' pages in the Session Options dialog (createPages of the protocol
// table): one page per protocol with something of its own to edit.
#pragma once

#include <RivodeRavudaVU/ConnectProtocolTable.h>

namespace rivode::modules {

// A new page set for entry's protocol in dialog, its page below connectPage; nullptr when the
// dialog is not Session Options or the protocol keeps nothing a page could edit.
IProtocolPages* CreateProtocolPages(const ConnectProtocolEntry& entry, YPropertyTreeDialog& dialog,
                                    int mode, ISessionConfig& session, int product,
                                    YPropertyTreePage& connectPage);

}  // namespace rivode::modules

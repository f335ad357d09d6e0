// The modal progress window: the dialog's lines under its title and a measure, until the worker
// closes it.
#pragma once

class YProgressDialog;

namespace davaraze::qt {

// Shows progress until its PostClose (from any thread); returns PostClose's result. The user
// cannot close the window: the work it watches has no way to stop half-way.
int RunQtProgress(YProgressDialog& progress);

}  // namespace davaraze::qt

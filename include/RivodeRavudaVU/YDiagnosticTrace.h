// Diagnostic trace lines: what the library noticed and worked around without failing the call
// (a folder it could not list, a session naming a protocol no loaded module offers). They help a
// user find out why a listing came out empty or a session shows another protocol.
//
// Nothing is traced until the host installs a sink; the library never writes trace lines
// anywhere by itself. The sink may be called from any thread that uses the library, one line at
// a time (calls are serialised); it must not call back into the library's trace functions.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#pragma GCC visibility push(default)

class IReportMessageParams;

// Receives one trace line, formatted in the user's language on one line, without a line break.
using YDiagnosticTraceSink = void (*)(const YUnicodeString& line, void* context);

// Installs sink (with the context it is called with); a null sink turns tracing off.
void SetDiagnosticTraceSink(YDiagnosticTraceSink sink, void* context);
// Whether a sink is installed, for callers that would have to work to build a trace line.
bool IsDiagnosticTraceOn();
// Formats report as a single line and hands it to the sink; nothing without a sink.
void TraceDiagnostic(IReportMessageParams& report);

#pragma GCC visibility pop

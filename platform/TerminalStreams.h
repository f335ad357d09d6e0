// Whether the standard streams are attached to a terminal, so console hosts know when a person
// can answer a question or watch a progress line.
#pragma once

#pragma GCC visibility push(default)

namespace rivode::platform {

bool IsStandardInputTerminal();
bool IsStandardErrorTerminal();

}  // namespace rivode::platform

#pragma GCC visibility pop

// Seams of the passphrase start-up for tests: the waiting time between claim attempts.
#pragma once

#include <chrono>

// The unit of the waits between attempts to claim passphrase entry (250 ms; the waits are one
// to five units). Tests shorten it.
void SetPassphraseClaimWaitUnit(std::chrono::milliseconds unit);
std::chrono::milliseconds GetPassphraseClaimWaitUnit();

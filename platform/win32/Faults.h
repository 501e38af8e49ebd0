// The Windows side of the fault seam of platform/linux/FaultInjection.h
// (whose ScopedFault and ScopedTransferLimit tests arm with an errno): the
// file services ask before each system call whether it is to fail.
#pragma once

#include <cstddef>

#include "platform/linux/FaultInjection.h"

namespace platform::win32 {

// The Windows error code the armed fault of that kind raises now, or 0
// when the call is to go ahead.
unsigned long TakeFault(ravik::sys::SysCall call);
// The most bytes one read or write may move; 0 for no limit.
std::size_t TransferLimit();
// Whether a transfer limit of 0 is armed: reads and writes move nothing.
bool TransfersBlocked();

}  // namespace platform::win32

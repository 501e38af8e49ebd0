#include "platform/win32/Faults.h"

#include <cerrno>
#include <optional>

#include "platform/win32/Win32.h"

namespace {

struct Armed {
  ravik::sys::SysCall call;
  int error = 0;
  int skip = 0;
};
std::optional<Armed> g_fault;
std::optional<std::size_t> g_transferLimit;

// The Windows error that stands for an errno of the Linux tests.
unsigned long WindowsErrorOf(int error) {
  switch (error) {
    case ENOSPC:
      return ERROR_DISK_FULL;
    case EIO:
      return ERROR_IO_DEVICE;
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case EBUSY:
      return ERROR_SHARING_VIOLATION;
    case EMFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    default:
      return ERROR_GEN_FAILURE;
  }
}

}  // namespace

namespace ravik::sys {

ScopedFault::ScopedFault(SysCall call, int error, int skip)
    : m_call(call), m_previousError(0), m_previousSkip(0) {
  if (g_fault && g_fault->call == call) {
    m_previousError = g_fault->error;
    m_previousSkip = g_fault->skip;
  }
  g_fault = Armed{call, error, skip};
}

ScopedFault::~ScopedFault() {
  if (m_previousError != 0) {
    g_fault = Armed{m_call, m_previousError, m_previousSkip};
  } else {
    g_fault.reset();
  }
}

ScopedTransferLimit::ScopedTransferLimit(std::size_t maxBytes)
    : m_previous(g_transferLimit.value_or(static_cast<std::size_t>(-1))) {
  g_transferLimit = maxBytes;
}

ScopedTransferLimit::~ScopedTransferLimit() {
  if (m_previous == static_cast<std::size_t>(-1)) {
    g_transferLimit.reset();
  } else {
    g_transferLimit = m_previous;
  }
}

}  // namespace ravik::sys

namespace platform::win32 {

unsigned long TakeFault(ravik::sys::SysCall call) {
  if (!g_fault || g_fault->call != call) return 0;
  if (g_fault->skip > 0) {
    --g_fault->skip;
    return 0;
  }
  const int error = g_fault->error;
  g_fault.reset();
  return WindowsErrorOf(error);
}

std::size_t TransferLimit() {
  return g_transferLimit && *g_transferLimit > 0 ? *g_transferLimit : 0;
}
bool TransfersBlocked() {
  return g_transferLimit && *g_transferLimit == 0;
}

}  // namespace platform::win32

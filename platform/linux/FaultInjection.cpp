#include "platform/linux/FaultInjection.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

namespace ravik::sys {
namespace {

// The real calls, each with the one signature the file services use.
struct SysTable {
  int (*open)(const char*, int);
  int (*create)(char*);
  ssize_t (*read)(int, void*, std::size_t);
  ssize_t (*write)(int, const void*, std::size_t);
  int (*fsync)(int);
  int (*close)(int);
  int (*rename)(const char*, const char*);
};

constexpr SysTable kReal{
    [](const char* path, int flags) { return ::open(path, flags); },
    [](char* pattern) { return ::mkostemp(pattern, O_CLOEXEC); },
    ::read,
    ::write,
    ::fsync,
    ::close,
    ::rename,
};

struct Fault {
  int error = 0;  // 0: none armed
  int skip = 0;
};

std::array<Fault, 7> g_faults;
std::size_t g_transferLimit = std::numeric_limits<std::size_t>::max();

Fault& FaultOf(SysCall call) {
  return g_faults[static_cast<std::size_t>(call)];
}

// The errno the call must fail with now, or 0 to make the real call.
int TakeFault(SysCall call) {
  Fault& fault = FaultOf(call);
  if (fault.error == 0) return 0;
  if (fault.skip > 0) {
    --fault.skip;
    return 0;
  }
  return std::exchange(fault.error, 0);
}

}  // namespace

namespace os {

int Open(const char* path, int flags) {
  if (const int error = TakeFault(SysCall::open)) return errno = error, -1;
  return kReal.open(path, flags);
}

int CreateTemp(char* pattern) {
  if (const int error = TakeFault(SysCall::create)) return errno = error, -1;
  return kReal.create(pattern);
}

ssize_t Read(int fd, void* buffer, std::size_t count) {
  if (const int error = TakeFault(SysCall::read)) return errno = error, -1;
  return kReal.read(fd, buffer, std::min(count, g_transferLimit));
}

ssize_t Write(int fd, const void* buffer, std::size_t count) {
  if (const int error = TakeFault(SysCall::write)) return errno = error, -1;
  return kReal.write(fd, buffer, std::min(count, g_transferLimit));
}

int Fsync(int fd) {
  if (const int error = TakeFault(SysCall::fsync)) return errno = error, -1;
  return kReal.fsync(fd);
}

int Close(int fd) {
  if (const int error = TakeFault(SysCall::close)) {
    kReal.close(fd);
    return errno = error, -1;
  }
  return kReal.close(fd);
}

int Rename(const char* from, const char* to) {
  if (const int error = TakeFault(SysCall::rename)) return errno = error, -1;
  return kReal.rename(from, to);
}

}  // namespace os

ScopedFault::ScopedFault(SysCall call, int error, int skip)
    : m_call(call), m_previousError(FaultOf(call).error), m_previousSkip(FaultOf(call).skip) {
  FaultOf(call) = Fault{error, skip};
}

ScopedFault::~ScopedFault() {
  FaultOf(m_call) = Fault{m_previousError, m_previousSkip};
}

ScopedTransferLimit::ScopedTransferLimit(std::size_t maxBytes)
    : m_previous(std::exchange(g_transferLimit, maxBytes)) {}

ScopedTransferLimit::~ScopedTransferLimit() {
  g_transferLimit = m_previous;
}

}  // namespace ravik::sys

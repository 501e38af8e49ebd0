// The system calls of the file services, made through one table so that a
// test can make the next one of a kind fail with the errno it chooses. The
// product never arms a fault; then each call is the plain system call.
// Faults are process-wide and meant for single-threaded tests.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace ravik::sys {

enum class SysCall { open, create, read, write, fsync, close, rename };

namespace os {
int Open(const char* path, int flags);
int CreateTemp(char* pattern);  // mkostemp(pattern, O_CLOEXEC)
ssize_t Read(int fd, void* buffer, std::size_t count);
ssize_t Write(int fd, const void* buffer, std::size_t count);
int Fsync(int fd);
int Close(int fd);  // a failing close still releases the descriptor
int Rename(const char* from, const char* to);
}  // namespace os

// The call of kind `call` that comes after `skip` successful ones fails
// once with `error`, while the guard lives. Restores the fault it
// replaced.
class ScopedFault {
 public:
  ScopedFault(SysCall call, int error, int skip = 0);
  ~ScopedFault();
  ScopedFault(const ScopedFault&) = delete;
  ScopedFault& operator=(const ScopedFault&) = delete;

 private:
  SysCall m_call;
  int m_previousError;
  int m_previousSkip;
};

// Every read and write moves at most maxBytes while the guard lives, as a
// slow medium may; 0 makes them move nothing at all.
class ScopedTransferLimit {
 public:
  explicit ScopedTransferLimit(std::size_t maxBytes);
  ~ScopedTransferLimit();
  ScopedTransferLimit(const ScopedTransferLimit&) = delete;
  ScopedTransferLimit& operator=(const ScopedTransferLimit&) = delete;

 private:
  std::size_t m_previous;
};

}  // namespace ravik::sys

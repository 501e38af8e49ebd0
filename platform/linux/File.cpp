// Files over POSIX. A save writes a temporary file beside the slot file and
// renames it over the slot file only once its bytes are on the medium, so
// the old file survives any failure whole.
#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "platform/linux/FaultInjection.h"
#include "platform/linux/PathMapping.h"
#include "platform/linux/VolumeSource.h"

namespace os = ravik::sys::os;

namespace {

// The temporary file's name in the slot file's folder; it matches no slot
// file name.
constexpr const char* kTempPattern = ".ravik1-save-XXXXXX";

// Sets the fields of an error record that Open may have been given.
void Report(CFileException* error, int osError, const char* fileName) {
  if (error == nullptr) return;
  error->m_cause = CFileException::CauseOfError(osError);
  error->m_lOsError = osError;
  error->m_strFileName = fileName ? fileName : "";
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string RealPath(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                             &std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

}  // namespace

int CFileException::CauseOfError(int osError) {
  switch (osError) {
    case 0:
      return none;
    case ENOENT:
      return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
      return badPath;
    case EMFILE:
    case ENFILE:
      return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return accessDenied;
    case EBADF:
      return invalidFile;
    case EIO:
    case ENXIO:
    case ENODEV:
      return hardIO;
    case EBUSY:
    case ETXTBSY:
      return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return diskFull;
    default:
      return genericException;
  }
}


struct CFile::State {
  bool saving = false;
  int fd = -1;
  std::string name;    // the path as the caller gave it
  std::string target;  // the file that a save replaces
  std::string temp;    // a save's new content until it is renamed over target

  // Ends a save that did not complete: the temporary file goes, the
  // target is not touched. Never fails.
  void Discard() noexcept {
    if (fd >= 0) os::Close(fd);
    fd = -1;
    if (!temp.empty()) ::unlink(temp.c_str());
    temp.clear();
  }
};

CFile::CFile() = default;

CFile::~CFile() {
  if (m_state) m_state->Discard();
}

namespace {

// The checks a save makes before it creates anything: the folder exists,
// and an existing target is a regular file that may be written. Root is
// not stopped by permission bits, so a file without any write bit counts
// as read-only for everyone, as the read-only attribute does on Windows.
// Returns 0 or an errno; *target becomes the file a symbolic link names,
// *mode the mode the new file gets.
int CheckSaveTarget(std::string* target, mode_t* mode, uid_t* uid, gid_t* gid, bool* exists) {
  struct stat st;
  *exists = false;
  *mode = 0644;
  if (::lstat(target->c_str(), &st) == 0) {
    if (S_ISLNK(st.st_mode)) {
      // Replace the file the link names, not the link.
      const std::string resolved = RealPath(*target);
      if (resolved.empty()) return errno == 0 ? ENOENT : errno;
      *target = resolved;
      if (::lstat(target->c_str(), &st) != 0) return errno;
    }
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (!S_ISREG(st.st_mode)) return EACCES;
    if ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0) {
      return EACCES;
    }
    *exists = true;
    *mode = st.st_mode & 07777;
    *uid = st.st_uid;
    *gid = st.st_gid;
  } else if (errno != ENOENT) {
    return errno;
  }
  const std::string folder = FolderOf(*target);
  if (::stat(folder.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) return ENOTDIR;
  return 0;
}

}  // namespace

BOOL CFile::Open(const char* path, UINT flags, CFileException* error) {
  if (m_state) {
    Report(error, EBUSY, path);  // this object already holds a file
    return FALSE;
  }
  if (path == nullptr || (flags != kSaveFlags && flags != kLoadFlags)) {
    Report(error, EINVAL, path);
    return FALSE;
  }
  const ravik::sys::MappedPath mapped =
      ravik::sys::MapWindowsPath(path, ravik::sys::CurrentVolumeSource());
  if (mapped.error != 0) {
    Report(error, mapped.error, path);
    return FALSE;
  }

  auto state = std::make_unique<State>();
  state->name = path;
  state->target = mapped.path;

  if (flags == kLoadFlags) {
    // Only a regular file opens. The open does not wait, so a FIFO in the
    // way cannot hang the window, and the check before it keeps a device
    // node from being opened at all.
    struct stat st;
    if (::stat(state->target.c_str(), &st) != 0) {
      Report(error, errno, path);
      return FALSE;
    }
    if (!S_ISREG(st.st_mode)) {
      Report(error, S_ISDIR(st.st_mode) ? EISDIR : EACCES, path);
      return FALSE;
    }
    state->fd = os::Open(state->target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (state->fd < 0) {
      Report(error, errno, path);
      return FALSE;
    }
    // The name may have been swapped between the check and the open.
    if (::fstat(state->fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      state->Discard();
      Report(error, EACCES, path);
      return FALSE;
    }
    m_state = std::move(state);
    return TRUE;
  }

  mode_t mode = 0644;
  uid_t uid = 0;
  gid_t gid = 0;
  bool exists = false;
  if (const int failure = CheckSaveTarget(&state->target, &mode, &uid, &gid, &exists)) {
    Report(error, failure, path);
    return FALSE;
  }
  // Creating the temporary file is also what finds a read-only medium.
  std::string temp = FolderOf(state->target) + "/" + kTempPattern;
  state->fd = os::CreateTemp(temp.data());
  if (state->fd < 0) {
    Report(error, errno, path);
    return FALSE;
  }
  state->temp = temp;
  state->saving = true;
  // Best effort: FAT keeps no owner and only a read-only bit, and refuses
  // other changes. The mode is the old file's, so nothing it granted is lost.
  ::fchmod(state->fd, mode);
  if (exists && (uid != ::geteuid() || gid != ::getegid())) {
    [[maybe_unused]] const int ignored = ::fchown(state->fd, uid, gid);
  }
  m_state = std::move(state);
  return TRUE;
}

UINT CFile::Read(void* buffer, UINT count) {
  if (!m_state) throw CFileException(CFileException::invalidFile, EBADF);
  char* out = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = os::Read(m_state->fd, out + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int failure = errno;
      throw CFileException(CFileException::CauseOfError(failure), failure, m_state->name.c_str());
    }
    if (n == 0) break;  // end of the file
    done += static_cast<UINT>(n);
  }
  return done;
}

void CFile::Write(const void* buffer, UINT count) {
  if (!m_state) throw CFileException(CFileException::invalidFile, EBADF);
  if (!m_state->saving) {
    throw CFileException(CFileException::accessDenied, EBADF, m_state->name.c_str());
  }
  const char* in = static_cast<const char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = os::Write(m_state->fd, in + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // A write that moves nothing would loop for ever; the medium has
      // stopped taking data.
      const int failure = n < 0 ? errno : EIO;
      const std::string name = m_state->name;
      m_state->Discard();
      m_state.reset();
      throw CFileException(CFileException::CauseOfError(failure), failure, name.c_str());
    }
    done += static_cast<UINT>(n);
  }
}

void CFile::Close() {
  if (!m_state) return;
  const std::unique_ptr<State> state = std::move(m_state);
  const auto fail = [&](int failure) {
    state->Discard();
    throw CFileException(CFileException::CauseOfError(failure), failure, state->name.c_str());
  };

  if (!state->saving) {
    const int fd = std::exchange(state->fd, -1);
    if (os::Close(fd) != 0) fail(errno);
    return;
  }
  // The bytes reach the medium before the name does; a failure up to the
  // rename leaves the old file as it was.
  if (os::Fsync(state->fd) != 0) fail(errno);
  if (os::Close(std::exchange(state->fd, -1)) != 0) fail(errno);
  if (os::Rename(state->temp.c_str(), state->target.c_str()) != 0) fail(errno);
  state->temp.clear();

  // From here on the new content stands where the old one was; a failure
  // only means the medium has not confirmed that it lasts.
  const auto failReplaced = [&](int failure) {
    CFileException raised(CFileException::CauseOfError(failure), failure, state->name.c_str());
    raised.m_replaced = true;
    throw raised;
  };
  // Make the rename itself durable. A file system that cannot flush a
  // folder says so with EINVAL; that is no failure of this save.
  const int folder = os::Open(FolderOf(state->target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) failReplaced(errno);
  if (os::Fsync(folder) != 0 && errno != EINVAL && errno != ENOTSUP) {
    const int failure = errno;
    os::Close(folder);
    failReplaced(failure);
  }
  if (os::Close(folder) != 0) failReplaced(errno);
}

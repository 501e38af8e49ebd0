// Files over Win32. A save writes a temporary file beside the slot file,
// flushes it and moves it over the slot file only then, so the old file
// survives any failure whole. The new file is opened as the save flags
// ask (read and write, shared with nobody); a load shares only reading.
#include "platform/File.h"

#include <memory>
#include <string>
#include <utility>

#include "platform/win32/DriveOverride.h"
#include "platform/win32/Faults.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32.h"

using platform::win32::TakeFault;
using ravik::sys::SysCall;

namespace {

constexpr WinDword kFullPathLimit = MAX_PATH;  // 260 characters or more fail

void Report(CFileException* error, unsigned long osError, const char* fileName) {
  if (error == nullptr) return;
  error->m_cause = CFileException::CauseOfError(static_cast<int>(osError));
  error->m_lOsError = static_cast<long>(osError);
  error->m_strFileName = fileName ? fileName : "";
}

[[noreturn]] void Raise(unsigned long osError, const std::string& name) {
  throw CFileException(CFileException::CauseOfError(static_cast<int>(osError)),
                       static_cast<long>(osError), name.c_str());
}

// The absolute path of a Windows path, as CFile makes it before opening;
// 0 or the error that stops it.
unsigned long FullPath(const std::wstring& path, std::wstring* full) {
  wchar_t buffer[kFullPathLimit];
  const WinDword length = GetFullPathNameW(path.c_str(), kFullPathLimit, buffer, nullptr);
  if (length == 0) return GetLastError();
  if (length >= kFullPathLimit) return ERROR_FILENAME_EXCED_RANGE;
  full->assign(buffer, length);
  return 0;
}

std::wstring FolderOf(const std::wstring& full) {
  const auto slash = full.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : full.substr(0, slash + 1);
}

}  // namespace

int CFileException::CauseOfError(int osError) {
  switch (osError) {
    case 0:
      return none;
    case ERROR_FILE_NOT_FOUND:
      return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_PARAMETER:
      return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
      return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return accessDenied;
    case ERROR_INVALID_HANDLE:
      return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
      return removeCurrentDir;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
      return badSeek;
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
    case ERROR_DEV_NOT_EXIST:
      return hardIO;
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
      return sharingViolation;
    case ERROR_LOCK_VIOLATION:
      return lockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
      return diskFull;
    case ERROR_HANDLE_EOF:
      return endOfFile;
    default:
      return genericException;
  }
}

struct CFile::State {
  bool saving = false;
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::string name;     // the path as the caller gave it
  std::wstring target;  // the file that a save replaces
  std::wstring temp;    // a save's new content until it is moved over target

  // Ends a save that did not complete: the temporary file goes, the
  // target is not touched. Never fails.
  void Discard() noexcept {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    if (!temp.empty()) DeleteFileW(temp.c_str());
    temp.clear();
  }
};

CFile::CFile() = default;

CFile::~CFile() {
  if (m_state) m_state->Discard();
}

BOOL CFile::Open(const char* path, UINT flags, CFileException* error) {
  if (m_state) {
    Report(error, ERROR_BUSY, path);  // this object already holds a file
    return FALSE;
  }
  if (path == nullptr || (flags != kSaveFlags && flags != kLoadFlags)) {
    Report(error, ERROR_INVALID_PARAMETER, path);
    return FALSE;
  }
  std::string mapped = path;
  if (const auto* drives = platform::win32::CurrentDriveOverride()) {
    unsigned long failure = 0;
    if (!drives->MapPath(path, &mapped, &failure)) {
      Report(error, failure, path);
      return FALSE;
    }
  }
  auto state = std::make_unique<State>();
  state->name = path;
  if (const unsigned long failure = FullPath(platform::win32::Widen(mapped), &state->target)) {
    Report(error, failure, path);
    return FALSE;
  }

  if (flags == kLoadFlags) {
    if (const unsigned long failure = TakeFault(SysCall::open)) {
      Report(error, failure, path);
      return FALSE;
    }
    state->handle = CreateFileW(state->target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (state->handle == INVALID_HANDLE_VALUE) {
      Report(error, GetLastError(), path);
      return FALSE;
    }
    // Only a file on a disk: a device name in the path never opens.
    if (GetFileType(state->handle) != FILE_TYPE_DISK) {
      state->Discard();
      Report(error, ERROR_ACCESS_DENIED, path);
      return FALSE;
    }
    m_state = std::move(state);
    return TRUE;
  }

  // An existing slot file must be one this save could open itself: not a
  // folder, not read-only, not held open by another program.
  const WinDword attributes = GetFileAttributesW(state->target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
      Report(error, ERROR_ACCESS_DENIED, path);
      return FALSE;
    }
    const HANDLE existing = CreateFileW(state->target.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing == INVALID_HANDLE_VALUE) {
      Report(error, GetLastError(), path);
      return FALSE;
    }
    CloseHandle(existing);
  } else if (const unsigned long failure = GetLastError(); failure != ERROR_FILE_NOT_FOUND) {
    Report(error, failure, path);
    return FALSE;
  }

  // Creating the temporary file is also what finds a write-protected
  // medium. Its name matches no slot file.
  const std::wstring folder = FolderOf(state->target);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    if (const unsigned long failure = TakeFault(SysCall::create)) {
      Report(error, failure, path);
      return FALSE;
    }
    const std::wstring temp = folder + L".ravik1-save-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(GetTickCount() + attempt) + L".tmp";
    state->handle = CreateFileW(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (state->handle != INVALID_HANDLE_VALUE) {
      state->temp = temp;
      break;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (state->handle == INVALID_HANDLE_VALUE) {
    Report(error, GetLastError(), path);
    return FALSE;
  }
  state->saving = true;
  m_state = std::move(state);
  return TRUE;
}

UINT CFile::Read(void* buffer, UINT count) {
  if (!m_state) throw CFileException(CFileException::invalidFile, ERROR_INVALID_HANDLE);
  char* out = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count) {
    if (const unsigned long failure = TakeFault(SysCall::read)) Raise(failure, m_state->name);
    if (platform::win32::TransfersBlocked()) break;
    WinDword chunk = count - done;
    if (const auto limit = platform::win32::TransferLimit(); limit && chunk > limit)
      chunk = static_cast<WinDword>(limit);
    WinDword moved = 0;
    if (!ReadFile(m_state->handle, out + done, chunk, &moved, nullptr))
      Raise(GetLastError(), m_state->name);
    if (moved == 0) break;  // the end of the file
    done += moved;
  }
  return done;
}

void CFile::Write(const void* buffer, UINT count) {
  if (!m_state) throw CFileException(CFileException::invalidFile, ERROR_INVALID_HANDLE);
  if (!m_state->saving)
    throw CFileException(CFileException::accessDenied, ERROR_ACCESS_DENIED, m_state->name.c_str());
  const char* in = static_cast<const char*>(buffer);
  UINT done = 0;
  const auto fail = [this](unsigned long failure) {
    const std::string name = m_state->name;
    m_state->Discard();
    m_state.reset();
    Raise(failure, name);
  };
  while (done < count) {
    if (const unsigned long failure = TakeFault(SysCall::write)) fail(failure);
    WinDword chunk = count - done;
    if (const auto limit = platform::win32::TransferLimit(); limit && chunk > limit)
      chunk = static_cast<WinDword>(limit);
    WinDword moved = 0;
    if (platform::win32::TransfersBlocked()) fail(ERROR_IO_DEVICE);
    if (!WriteFile(m_state->handle, in + done, chunk, &moved, nullptr)) fail(GetLastError());
    // A write that moves nothing would loop for ever: the medium has
    // stopped taking data.
    if (moved == 0) fail(ERROR_IO_DEVICE);
    done += moved;
  }
}

void CFile::Close() {
  if (!m_state) return;
  const std::unique_ptr<State> state = std::move(m_state);
  const auto fail = [&](unsigned long failure) {
    state->Discard();
    Raise(failure, state->name);
  };
  if (!state->saving) {
    const HANDLE handle = std::exchange(state->handle, INVALID_HANDLE_VALUE);
    const unsigned long fault = TakeFault(SysCall::close);
    if (!CloseHandle(handle)) fail(GetLastError());
    if (fault) fail(fault);
    return;
  }
  // The bytes reach the medium before the name does; a failure up to the
  // move leaves the old file as it was.
  if (const unsigned long failure = TakeFault(SysCall::fsync)) fail(failure);
  if (!FlushFileBuffers(state->handle)) fail(GetLastError());
  const unsigned long closeFault = TakeFault(SysCall::close);
  if (!CloseHandle(std::exchange(state->handle, INVALID_HANDLE_VALUE))) fail(GetLastError());
  if (closeFault) fail(closeFault);
  if (const unsigned long failure = TakeFault(SysCall::rename)) fail(failure);
  // Write-through: the move returns once it is recorded on the medium.
  if (!MoveFileExW(state->temp.c_str(), state->target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    fail(GetLastError());
  }
  state->temp.clear();
}

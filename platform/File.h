// Files of the framework layer: the slot files are saved and loaded
// through CFile, whose failures after a successful Open are raised as
// CFileException.
#pragma once

#include <exception>
#include <memory>
#include <string>

#include "platform/Types.h"

// A failed file operation. Open fills one in when it fails; Read, Write and
// Close raise one.
class CFileException : public std::exception {
 public:
  enum {
    none = 0,
    genericException = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
  };

  CFileException(int cause = none, long osError = -1, const char* fileName = nullptr);

  // The cause that fits a system error number.
  static int CauseOfError(int osError);

  int m_cause;
  long m_lOsError;            // the errno, -1 when there is none
  std::string m_strFileName;  // the path as the caller gave it
  // Set by a save's Close that failed only after the new content had
  // replaced the old file: the old content is gone, and the medium has not
  // confirmed that the new one lasts.
  bool m_replaced = false;

  // A German sentence naming the file and the cause, for the error box.
  // The cause in one German sentence.
  const char* Reason() const noexcept;
  const char* what() const noexcept override;

 private:
  mutable std::string m_what;
};

class CFile {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    modeCreate = 0x1000,
  };
  // The only two combinations Open accepts; any other makes it fail.
  static constexpr UINT kSaveFlags = modeCreate | modeReadWrite | shareExclusive;  // 4114
  static constexpr UINT kLoadFlags = modeRead | shareDenyWrite;                    // 32

  CFile();
  // Closes an open file without raising. A file still open for saving is
  // discarded: the file it was to replace stays as it was.
  ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // path is in Windows form and UTF-8: "E:\Config1.ini", "\Config1.ini".
  // kSaveFlags: creates or replaces the file. Nothing on the medium
  // changes before Close succeeds, and then the new content replaces the
  // old one whole. An existing file that is read-only makes Open fail.
  // kLoadFlags: opens an existing regular file for reading.
  // Returns FALSE and fills *error (cause and errno) when it fails.
  BOOL Open(const char* path, UINT flags, CFileException* error = nullptr);

  // Reads up to count bytes; fewer only at the end of the file.
  UINT Read(void* buffer, UINT count);
  // Writes all count bytes or raises. A failed write ends a save: the old
  // file stays as it was and the file is closed.
  void Write(const void* buffer, UINT count);
  // Closes the file; a save is complete only when this returns. Raises on
  // failure. A save that fails before its new content has replaced the old
  // leaves the old file as it was; only when the medium then refuses to
  // record that replacement lasting is the failure raised after it.
  // Closing a file that is not open does nothing.
  void Close();

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

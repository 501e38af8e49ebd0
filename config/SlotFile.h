// Reading and writing one configuration slot file: its 19 bytes, nothing
// more.
#pragma once

#include <string>

#include "config/ConfigRecord.h"

// Writes the record to path (create or replace). False when the file
// cannot be created; a failure while writing raises CFileException, and
// the file that was there stays as it was.
bool WriteSlotFile(const std::string& path, const ConfigRecord& record);

enum class SlotReadStatus { Read, OpenFailed, TooShort };
struct SlotReadResult {
  SlotReadStatus status = SlotReadStatus::OpenFailed;
  ConfigRecord record{};
};

// Reads the first 19 bytes of the file at path. A failing read raises
// CFileException.
SlotReadResult ReadSlotFile(const std::string& path);

#include "config/SlotFile.h"

#include "platform/File.h"

bool WriteSlotFile(const std::string& path, const ConfigRecord& record) {
  CFile file;
  CFileException error;
  if (!file.Open(path.c_str(), CFile::kSaveFlags, &error)) return false;
  file.Write(record.data(), static_cast<UINT>(record.size()));
  file.Close();
  return true;
}

SlotReadResult ReadSlotFile(const std::string& path) {
  CFile file;
  CFileException error;
  SlotReadResult result;
  if (!file.Open(path.c_str(), CFile::kLoadFlags, &error)) return result;
  const UINT count = file.Read(result.record.data(), static_cast<UINT>(result.record.size()));
  file.Close();
  result.status = count < result.record.size() ? SlotReadStatus::TooShort : SlotReadStatus::Read;
  return result;
}

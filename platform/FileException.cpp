// What a file failure means for the person, whatever the platform: the
// cause in one German sentence, and the file and system error code.
#include <string>

#include "platform/File.h"

CFileException::CFileException(int cause, long osError, const char* fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName ? fileName : "") {}

const char* CFileException::Reason() const noexcept {
  switch (m_cause) {
    case fileNotFound:
      return "Die Datei wurde nicht gefunden.";
    case badPath:
      return "Der Pfad ist ungültig.";
    case tooManyOpenFiles:
      return "Es sind zu viele Dateien geöffnet.";
    case accessDenied:
      return "Der Zugriff wurde verweigert.";
    case invalidFile:
      return "Die Datei ist nicht geöffnet.";
    case hardIO:
      return "Beim Zugriff auf den Datenträger trat ein Ein-/Ausgabefehler auf.";
    case sharingViolation:
      return "Die Datei wird von einem anderen Programm verwendet.";
    case diskFull:
      return "Der Datenträger ist voll.";
    default:
      return "Ein unerwarteter Fehler ist aufgetreten.";
  }
}

const char* CFileException::what() const noexcept {
  try {
    m_what = "Fehler beim Zugriff auf die Datei '" + m_strFileName + "': " + Reason();
    if (m_lOsError > 0) m_what += " (Systemfehler " + std::to_string(m_lOsError) + ")";
    return m_what.c_str();
  } catch (...) {
    return "Fehler beim Zugriff auf eine Datei.";
  }
}

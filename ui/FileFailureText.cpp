#include "ui/FileFailureText.h"

std::string FileFailureText(const CFileException& failure) {
  switch (failure.m_cause) {
    case CFileException::diskFull:
      return "Der Datenträger ist voll.";
    case CFileException::accessDenied:
      return "Der Zugriff wurde verweigert (Schreibschutz?).";
    case CFileException::fileNotFound:
    case CFileException::badPath:
      return "Das Laufwerk oder die Datei ist nicht mehr vorhanden.";
    case CFileException::sharingViolation:
    case CFileException::lockViolation:
      return "Die Datei wird von einem anderen Programm benutzt.";
    case CFileException::hardIO:
      return "Ein-/Ausgabefehler auf dem Datenträger (Stick abgezogen?).";
    default:
      return "Fehler beim Zugriff auf den Datenträger (Code " +
             std::to_string(failure.m_lOsError) + ").";
  }
}

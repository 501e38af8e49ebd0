// Version information of the program. Plain macros, so that the Windows
// resource compiler can read this file for the VERSIONINFO block as well
// as C++.
#pragma once

// FILEVERSION and PRODUCTVERSION statements take the four numbers as a list.
#define RAVIK_VERSION_MAJOR 1
#define RAVIK_VERSION_MINOR 0
#define RAVIK_VERSION_PATCH 0
#define RAVIK_VERSION_BUILD 0
#define RAVIK_FILEVERSION \
  RAVIK_VERSION_MAJOR, RAVIK_VERSION_MINOR, RAVIK_VERSION_PATCH, RAVIK_VERSION_BUILD
#define RAVIK_PRODUCTVERSION RAVIK_FILEVERSION

// The string fields write the version with commas, as the numbers above.
#define RAVIK_FILEVERSION_STR "1, 0, 0, 0"
#define RAVIK_PRODUCTVERSION_STR "1, 0, 0, 0"

#define RAVIK_FILE_DESCRIPTION "Anwendung Ravik 1"
#define RAVIK_PRODUCT_NAME "Anwendung Ravik 1"
#define RAVIK_INTERNAL_NAME "Ravik1"
#define RAVIK_ORIGINAL_FILENAME "Ravik1.EXE"
#define RAVIK_COMPANY_NAME "Vendra"
#define RAVIK_LEGAL_COPYRIGHT "Copyright (C) 2026 Vendra"

// German (Germany, 0x0407) and UTF-16: the two numbers of the "Translation"
// value of VarFileInfo, and in hex the name of the StringFileInfo block.
#define RAVIK_VERSION_LANGUAGE 1031
#define RAVIK_VERSION_CODEPAGE 1200
#define RAVIK_VERSION_BLOCK "040704B0"

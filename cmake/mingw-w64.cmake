# Cross-compiling the Windows build on Debian with MinGW-w64 (x86-64).
# The posix thread variant of the compiler: GoogleTest needs std::mutex,
# which the win32 variant lacks. Test programs run under Wine, so CTest and
# gtest_discover_tests can start them as they are.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RAVIK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RAVIK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RAVIK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${RAVIK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RAVIK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe per program: no MinGW runtime DLLs to ship or to
# put on Wine's path.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The build's own Wine prefix (scripts/test-windows prepares it: fonts,
# the null graphics driver). WINEDEBUG=-all keeps test output readable.
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" WINEDEBUG=-all wine)

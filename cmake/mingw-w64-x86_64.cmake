# Cross build for 64-bit Windows with Debian's mingw-w64 (POSIX thread model, so that
# std::thread and std::mutex work). The test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(FINDER_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${FINDER_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FINDER_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${FINDER_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${FINDER_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER) # host tools: sqlite3 builds language.db
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own run-time (libgcc, libstdc++, winpthread) goes into each program, so
# the zip needs no DLLs next to them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(FINDER_WINE NAMES wine wine64)
if(FINDER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${FINDER_WINE})
endif()

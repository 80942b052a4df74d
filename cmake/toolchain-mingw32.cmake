# Cross-compiling Nimbo for 32-bit Windows with Debian's MinGW-w64 compilers.
# Use with -DNIMBO_PLATFORM_SIDE=win32. The "posix" variants of the compilers
# are taken because their C++ library has std::thread and std::mutex, which
# GoogleTest needs. Programs built here run under Wine (the test emulator).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(NIMBO_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${NIMBO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NIMBO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${NIMBO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NIMBO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest runs the Windows programs through Wine. Tests that open windows need
# a display: run ctest under xvfb-run (scripts/test-windows.sh does).
find_program(NIMBO_WINE NAMES wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NIMBO_WINE})

set(NIMBO_PLATFORM_SIDE win32 CACHE STRING "Platform side to build (posix or win32)")

# Cross-building for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-win32).
# Used by the windows-mingw preset: cmake --preset windows-mingw
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORKAN_MINGW_PREFIX x86_64-w64-mingw32)
# The win32 thread model: its runtime needs no winpthread DLL.
find_program(CMAKE_C_COMPILER NAMES ${VORKAN_MINGW_PREFIX}-gcc-win32 ${VORKAN_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VORKAN_MINGW_PREFIX}-g++-win32 ${VORKAN_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VORKAN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VORKAN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages installed elsewhere (a KV318 install prefix) are found through CMAKE_PREFIX_PATH.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

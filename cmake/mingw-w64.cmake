# Cross toolchain: 64-bit Windows programs built on Linux with mingw-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVA_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${KORVA_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVA_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${KORVA_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVA_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs every Windows executable through Wine with the project's settings.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)

# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compiler
# (package g++-mingw-w64-x86-64-posix: the POSIX thread model, which
# std::thread and std::mutex need).
#
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DGEOCALC_APP=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GEOCALC_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GEOCALC_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GEOCALC_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${GEOCALC_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GEOCALC_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file to copy: the C and C++ runtimes and winpthread linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine (Debian's wine64) here.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/run-under-wine.sh)

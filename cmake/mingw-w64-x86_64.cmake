# Cross build for 64-bit Windows with the MinGW-w64 compilers
# (Debian: g++-mingw-w64-x86-64). Usage:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# (what scripts/wine-tests.sh does). No Qt is used on Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORVIA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORVIA_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${QUORVIA_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${QUORVIA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORVIA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link the compiler's own run-time libraries in, so that the programs start
# on a Windows (or Wine) that has none of the MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

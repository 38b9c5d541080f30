# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compilers, the POSIX-threads variant
# that Qt 6 needs. Used for Qt itself and for Tallyvex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TALLYVEX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TALLYVEX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALLYVEX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TALLYVEX_MINGW_PREFIX}-windres)

# Headers and libraries come from the MinGW sysroot (and the Qt prefix added by the caller);
# programs run during the build come from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TALLYVEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

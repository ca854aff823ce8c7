# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compilers (the -posix
# ones: std::thread and std::mutex need their threading model). Used for Qt's
# qtbase, zstd and the program alike; scripts/windows passes it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and headers come from the MinGW tree and from the prefix the
# dependencies were installed into (the environment's BYEORISOL_WINDOWS_PREFIX),
# never from the host; programs (moc, rcc) and Qt's host tools' packages from
# the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 $ENV{BYEORISOL_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Cross-building the Windows program for x86-64 on Debian
# (g++-mingw-w64-x86-64). Not what ships: the release is the 32-bit
# program. This build runs the Windows tests under wine64 on hosts that
# execute no 32-bit x86 code (scripts/windows-test-preset chooses).
# The -posix compilers: their thread model has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${GM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthreads linked in, as in the 32-bit build.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# What the Windows cross builds share, included by their toolchain files
# after they set CMAKE_SYSTEM_PROCESSOR and GM_MINGW_PREFIX (Debian's
# mingw-w64 target triple). The -posix compilers: their thread model has
# std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${GM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${GM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthreads linked in: the programs need only
# Windows' own DLLs (and, for the show, the D3DX runtime).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

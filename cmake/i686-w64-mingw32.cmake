# Cross-building the 32-bit Windows program on Debian (g++-mingw-w64-i686).
# The -posix compilers: their thread model has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(GM_MINGW_PREFIX i686-w64-mingw32)
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

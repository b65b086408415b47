# Cross-building the 32-bit Windows program on Debian (g++-mingw-w64-i686):
# the program that ships.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(GM_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

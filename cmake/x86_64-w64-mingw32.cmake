# Cross-building the Windows program for x86-64 on Debian
# (g++-mingw-w64-x86-64). Not what ships: the release is the 32-bit
# program. This build runs the Windows tests under wine64 on hosts that
# execute no 32-bit x86 code (scripts/windows-test-preset chooses).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(GM_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# 32-bit Windows DLL cross-built with mingw-w64. Nothing here runs 32-bit Windows programs, so
# this build is compiled and inspected, not run.
set(KESTRUNE_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

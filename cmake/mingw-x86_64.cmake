# 64-bit Windows DLL and test programs cross-built with mingw-w64; the tests run under Wine
# through scripts/wine-run.sh.
set(KESTRUNE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# One Wine prefix per build folder, made by the first test that runs.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix)
set(KESTRUNE_GTEST_FROM_SOURCE ON CACHE BOOL "" FORCE)

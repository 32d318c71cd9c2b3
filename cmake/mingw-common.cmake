# What the Windows cross builds share; the including toolchain sets KESTRUNE_MINGW_TRIPLET and
# CMAKE_SYSTEM_PROCESSOR first. Compilers of the win32 thread model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${KESTRUNE_MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${KESTRUNE_MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${KESTRUNE_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KESTRUNE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs carry their own runtime, so they need no DLL that a Windows machine lacks.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

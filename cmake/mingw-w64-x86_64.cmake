# Cross build for 64-bit Windows with mingw-w64 (POSIX threading model), tests run under Wine.
#
#   cmake --preset win        (see CMakePresets.json; tools/wine-test.sh runs everything)
#
# Everything is linked statically, so the programs need no DLL beyond the system's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_kw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_kw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_kw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${_kw_triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_kw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest runs the test programs through Wine. Debian's wine64 package has the loader only in
# /usr/lib/wine; other installations put wine64 or wine on PATH.
if(EXISTS /usr/lib/wine/wine64)
    set(_kw_wine /usr/lib/wine/wine64)
else()
    find_program(_kw_wine NAMES wine64 wine)
endif()
if(_kw_wine)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${_kw_wine})
endif()

# Cross-compiling the library as a 64-bit Windows DLL with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(cqv_mingw_triplet x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw.cmake")

# Test programs run under Wine (its 64-bit loader) when it is installed.
find_program(CQV_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(CQV_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${CQV_WINE64}")
endif()

# Cross-compiling the library as a 64-bit Windows DLL with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(cqv_mingw_triplet x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw.cmake")

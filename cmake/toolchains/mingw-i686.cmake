# Cross-compiling the library as a 32-bit Windows DLL with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(cqv_mingw_triplet i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw.cmake")

# The MinGW-w64 cross toolchain shared by mingw-i686.cmake and
# mingw-x86_64.cmake, which name the target triplet and processor.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${cqv_mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${cqv_mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${cqv_mingw_triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${cqv_mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

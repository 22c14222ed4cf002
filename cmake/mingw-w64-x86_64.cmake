# Cross-building for 64-bit Windows on Debian with MinGW-w64 (packages
# g++-mingw-w64-x86-64-posix, gcc-mingw-w64-x86-64-posix and
# binutils-mingw-w64-x86-64). The posix flavour of the compilers, because
# Qt and the C++ standard library's threads need its thread model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

# Programs run on the build machine; libraries, headers and CMake packages
# come from the Windows side only (the MinGW root and any prefix added to
# CMAKE_FIND_ROOT_PATH or CMAKE_PREFIX_PATH, such as Qt's and libcurl's).
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

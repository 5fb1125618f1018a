# Shared part of the mingw-w64 toolchain files: Debian's cross compilers
# for ${triple} (posix thread model: std::thread and std::mutex need it).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER  ${triple}-windres)
set(CMAKE_AR           /usr/bin/${triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${triple}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

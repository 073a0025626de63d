# Cross build for 64-bit Windows with mingw-w64. The posix thread model is the
# one whose libstdc++ has std::mutex and std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

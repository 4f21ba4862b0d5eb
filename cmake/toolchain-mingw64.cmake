# Cross-compiles Windows x64 executables with mingw-w64. The posix thread
# variant gives std::thread and std::mutex; everything is linked statically
# so that the programs run under Wine (or on a bare Windows) without extra
# runtime DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARVENIX_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${TARVENIX_MINGW_TRIPLE}-g++-posix ${TARVENIX_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${TARVENIX_MINGW_TRIPLE}-gcc-posix ${TARVENIX_MINGW_TRIPLE}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${TARVENIX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARVENIX_MINGW_TRIPLE})
# The libraries that scripts/win32-deps builds from Debian's sources.
if(TARVENIX_WIN32_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${TARVENIX_WIN32_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

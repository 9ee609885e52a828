# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads),
# running the built programs and tests under wine.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DCMAKE_PREFIX_PATH=/path/to/gtest-prefix
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
find_program(MINGW_GCC ${MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(MINGW_GXX ${MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(MINGW_WINDRES ${MINGW_TRIPLE}-windres)
set(CMAKE_C_COMPILER ${MINGW_GCC})
set(CMAKE_CXX_COMPILER ${MINGW_GXX})
if(MINGW_WINDRES)
  set(CMAKE_RC_COMPILER ${MINGW_WINDRES})
endif()

# No libgcc, libstdc++ or winpthread DLLs beside the executables.
add_link_options(-static -static-libgcc -static-libstdc++)

# Search the mingw sysroot and whatever prefixes come in through
# CMAKE_PREFIX_PATH (a cross-built GoogleTest), never the host's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Built programs (test discovery, ctest) run under wine.
find_program(WINE_EXECUTABLE NAMES wine64 wine
             PATHS /usr/lib/wine /usr/bin NO_CMAKE_FIND_ROOT_PATH)
if(WINE_EXECUTABLE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_EXECUTABLE})
endif()

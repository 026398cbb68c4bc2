# Cross-compiling for 32-bit Windows with mingw-w64. The posix thread-model
# compilers are used because GoogleTest needs them; everything is linked
# statically, so the executables need only Windows' own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZENTOR_ARCH i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the test executables through Wine's 32-bit loader (in a win32
# prefix); the tests' scripts call Wine the same way.
set(ZENTOR_WINE /usr/lib/wine/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZENTOR_WINE})

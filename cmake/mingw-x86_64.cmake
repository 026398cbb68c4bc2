# Cross-compiling for 64-bit Windows with mingw-w64, as for 32-bit
# (mingw-i686.cmake): posix thread model, everything linked statically.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZENTOR_ARCH x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the test executables through Wine's 64-bit loader (in a win64
# prefix). It is called directly: Debian's "wine" wrapper takes the 32-bit
# loader whenever one is installed, and that one does not start on a kernel
# without 32-bit emulation.
set(ZENTOR_WINE /usr/lib/wine/wine64)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZENTOR_WINE})

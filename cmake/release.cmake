# The release files: version resource and manifest in the programs, and the
# target that makes the zips and the installer:
#   cmake --build build/<arch> --target release
# which leaves in build/<arch>/release
#   Zentor-<version>-win32.zip   the 32-bit zentor.exe and zentornt3.exe
#   Zentor-<version>-win64.zip   the 64-bit zentor.exe
#   Zentor-<version>-setup.exe   the installer, carrying both builds
# each zip with the documents (cmake/package.cmake; the installer needs
# makensis, Debian's nsis package). This tree makes the programs of its own
# build; those of the other build are made along the way in a tree of their
# own inside this one.

# Keep in step with the version resource in res/release.rc.
set(ZENTOR_VERSION 0.99)

# The manifest names the build's processor, as Windows wants of a program's
# own identity.
if(ZENTOR_ARCH STREQUAL "x86_64")
  set(ZENTOR_MANIFEST_ARCH amd64)
else()
  set(ZENTOR_MANIFEST_ARCH x86)
endif()
configure_file(${CMAKE_SOURCE_DIR}/res/zentor.exe.manifest.in
  ${CMAKE_BINARY_DIR}/res/zentor.exe.manifest @ONLY)
foreach(variant zentor zentornt3)
  target_sources(${variant} PRIVATE ${CMAKE_SOURCE_DIR}/res/release.rc)
  target_include_directories(${variant} PRIVATE ${CMAKE_BINARY_DIR}/res)
endforeach()
# windres does not track files that a script pulls in.
set_property(SOURCE ${CMAKE_SOURCE_DIR}/res/release.rc APPEND PROPERTY
  OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/res/zentor.exe.manifest)

if(NOT ZENTOR_RELEASE)
  return()
endif()

if(ZENTOR_ARCH STREQUAL "x86_64")
  set(other_arch i686)
else()
  set(other_arch x86_64)
endif()
set(other_dir ${CMAKE_BINARY_DIR}/programs-${other_arch})
include(ExternalProject)
ExternalProject_Add(programs_${other_arch}
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${other_dir}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${other_arch}.cmake
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
             -DZENTOR_TESTS=OFF -DZENTOR_BENCH=OFF -DZENTOR_RELEASE=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target zentor zentornt3
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  EXCLUDE_FROM_ALL ON)

# zentornt3.exe ships as a 32-bit program only: there is no 64-bit NT 3.x.
if(ZENTOR_ARCH STREQUAL "x86_64")
  set(zentor32 ${other_dir}/zentor.exe)
  set(zentornt3_32 ${other_dir}/zentornt3.exe)
  set(zentor64 $<TARGET_FILE:zentor>)
else()
  set(zentor32 $<TARGET_FILE:zentor>)
  set(zentornt3_32 $<TARGET_FILE:zentornt3>)
  set(zentor64 ${other_dir}/zentor.exe)
endif()

find_program(MAKENSIS makensis)
string(REPLACE "." "," version_words "${ZENTOR_VERSION},0,0")
add_custom_target(release
  COMMAND ${CMAKE_COMMAND} -DVERSION=${ZENTOR_VERSION} -DVERSION_WORDS=${version_words}
          -DSOURCE=${CMAKE_SOURCE_DIR} -DOUT=${CMAKE_BINARY_DIR}/release
          -DZENTOR32=${zentor32} -DZENTORNT3=${zentornt3_32} -DZENTOR64=${zentor64}
          -DMAKENSIS=${MAKENSIS} -P ${CMAKE_SOURCE_DIR}/cmake/package.cmake
  COMMENT "Making the release zips and installer in ${CMAKE_BINARY_DIR}/release"
  VERBATIM)
add_dependencies(release zentor zentornt3 programs_${other_arch})

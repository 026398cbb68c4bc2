# The release files: version resource and manifest in the programs, what
# goes into the zip and the installer, and the target that makes both:
#   cmake --build build --target release
# which leaves build/release/Zentor-<version>-win32.zip and
# build/release/Zentor-<version>-setup.exe (the installer needs makensis,
# Debian's nsis package).

# Keep in step with the version resource in res/release.rc.
set(ZENTOR_VERSION 0.99)

foreach(variant zentor zentornt3)
  target_sources(${variant} PRIVATE ${CMAKE_SOURCE_DIR}/res/release.rc)
endforeach()
# windres does not track files that a script pulls in.
set_property(SOURCE ${CMAKE_SOURCE_DIR}/res/release.rc APPEND PROPERTY
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/zentor.exe.manifest)

# What a user gets, in the zip and in the installed folder. The README lists
# these files; a test checks the zip against that list.
install(TARGETS zentor zentornt3 RUNTIME DESTINATION .)
install(FILES README.md LICENSE DESTINATION .)
install(DIRECTORY docs/ DESTINATION docs FILES_MATCHING PATTERN "*.md" PATTERN "*.png")
# The release target builds the two programs only, not the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_PACKAGE_NAME Zentor)
set(CPACK_PACKAGE_VENDOR "The Zentor developers")
set(CPACK_PACKAGE_VERSION ${ZENTOR_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Zentor application launcher")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Zentor)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME Zentor-${ZENTOR_VERSION}-win32)
# The installer's script is ours (installer/NSIS.template.in); CPack fills
# in the staged files and the output name, and sets the installer's own
# file name per generator through this file.
set(CPACK_MODULE_PATH ${CMAKE_SOURCE_DIR}/installer)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/installer/cpack_per_generator.cmake)
set(CPACK_NSIS_ZENTOR_ICON ${CMAKE_SOURCE_DIR}/res/zentor.ico)
set(CPACK_NSIS_ZENTOR_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
string(REPLACE "." "," CPACK_NSIS_ZENTOR_VERSION_WORDS "${ZENTOR_VERSION},0,0")
include(CPack)

add_custom_target(release
  COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
          -B ${CMAKE_BINARY_DIR}/release
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Making the release zip and installer in ${CMAKE_BINARY_DIR}/release"
  VERBATIM)
add_dependencies(release zentor zentornt3)

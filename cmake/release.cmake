# The release files: version resource and manifest in the programs.

# Keep in step with the version resource in res/release.rc.
set(ZENTOR_VERSION 0.99)

foreach(variant zentor zentornt3)
  target_sources(${variant} PRIVATE ${CMAKE_SOURCE_DIR}/res/release.rc)
endforeach()
# windres does not track files that a script pulls in.
set_property(SOURCE ${CMAKE_SOURCE_DIR}/res/release.rc APPEND PROPERTY
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/zentor.exe.manifest)


# The release files: version resources and manifest.

add_executable(version_info_test version_info_test.cpp)
target_link_libraries(version_info_test PRIVATE gtest_main version)
target_link_options(version_info_test PRIVATE -static)
add_dependencies(version_info_test zentor zentornt3)
add_test(NAME version_info_test
  COMMAND version_info_test $<TARGET_FILE:zentor> $<TARGET_FILE:zentornt3>)


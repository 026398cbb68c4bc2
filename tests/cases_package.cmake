# The release files: version resources and manifest, the zips against the
# README's lists, the installer's contents against the zips, and the
# installer and uninstaller run silently.

add_executable(version_info_test version_info_test.cpp)
target_link_libraries(version_info_test PRIVATE gtest_main version)
target_link_options(version_info_test PRIVATE -static)
add_dependencies(version_info_test zentor zentornt3)
add_test(NAME version_info_test
  COMMAND version_info_test $<TARGET_FILE:zentor> $<TARGET_FILE:zentornt3>)

# Makes the zips and the installer (cmake/release.cmake) for the tests below.
add_test(NAME release_files COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target release)
set_tests_properties(release_files PROPERTIES FIXTURES_SETUP release TIMEOUT 600)

set(release_zips ${CMAKE_BINARY_DIR}/release/Zentor-${ZENTOR_VERSION}-win32.zip
                 ${CMAKE_BINARY_DIR}/release/Zentor-${ZENTOR_VERSION}-win64.zip)
set(installer ${CMAKE_BINARY_DIR}/release/Zentor-${ZENTOR_VERSION}-setup.exe)
add_test(NAME zip_contents
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check_zip.sh ${CMAKE_SOURCE_DIR}/README.md ${release_zips})
add_test(NAME installer_contents
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check_installer.sh ${installer} ${release_zips})
set_tests_properties(zip_contents installer_contents PROPERTIES FIXTURES_REQUIRED release)

add_executable(installer_test e2e/driver.cpp e2e/installer_test.cpp)
target_include_directories(installer_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/e2e)
target_link_libraries(installer_test PRIVATE gtest_main gdi32 advapi32 shell32 ole32 uuid)
target_link_options(installer_test PRIVATE -static)
add_test(NAME installer_test COMMAND installer_test ${installer})
# The installer is a 32-bit program: on a machine that cannot run one, the
# test says so and counts as skipped.
set_tests_properties(installer_test PROPERTIES FIXTURES_REQUIRED release TIMEOUT 300
  SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
# The same test where 32-bit programs cannot start: only the 64-bit build's
# test can run there.
if(ZENTOR_ARCH STREQUAL "x86_64")
  zentor_script_test(installer_skip
    bash ${CMAKE_CURRENT_SOURCE_DIR}/installer_skip.sh $<TARGET_FILE:installer_test> ${installer})
  set_tests_properties(installer_skip PROPERTIES FIXTURES_REQUIRED release TIMEOUT 120
    SKIP_RETURN_CODE 77)
endif()

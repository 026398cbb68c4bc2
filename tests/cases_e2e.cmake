# End-to-end tests: a driver that starts the built programs and works them
# from outside, and a check of what the programs import.
add_executable(e2e_test e2e/driver.cpp e2e/startup_test.cpp e2e/bad_file_test.cpp
  e2e/lifecycle_test.cpp)
# Only constants of the program's headers are used; none of its code is linked.
target_include_directories(e2e_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/e2e ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(e2e_test PRIVATE gtest_main gdi32 advapi32)
target_link_options(e2e_test PRIVATE -static)
add_dependencies(e2e_test zentor zentornt3)
add_test(NAME e2e_test COMMAND e2e_test $<TARGET_FILE:zentor> $<TARGET_FILE:zentornt3>)
set_tests_properties(e2e_test PROPERTIES TIMEOUT 600)

# The toolchain's objdump reads the executables of its own build.
add_test(NAME check_imports
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check_imports.sh ${ZENTOR_ARCH}
          $<TARGET_FILE:zentor> $<TARGET_FILE:zentornt3>)
set_tests_properties(check_imports PROPERTIES ENVIRONMENT "OBJDUMP=${CMAKE_OBJDUMP}")

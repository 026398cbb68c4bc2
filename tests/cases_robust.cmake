# Robustness: the fuzz targets (built natively by scripts/fuzz.sh, run here
# for a short while over their seed files).
# They are native programs, the same for either Windows build (label "native").
add_test(NAME fuzz_smoke COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fuzz.sh 25)
set_tests_properties(fuzz_smoke PROPERTIES TIMEOUT 600 LABELS native)

# The fuzz targets and their growing corpus go to this build folder, not the
# source tree's.
set_property(TEST fuzz_smoke APPEND PROPERTY ENVIRONMENT FUZZ_DIR=${CMAKE_BINARY_DIR}/fuzz)

# Writes the fuzz targets' seed files with the program's own code.
add_executable(make_fuzz_corpus fuzz/make_corpus.cpp ${ZENTOR_SEAM_SOURCES} ${ZENTOR_RESOURCES})
target_link_libraries(make_fuzz_corpus PRIVATE test_support_zentor)
target_link_options(make_fuzz_corpus PRIVATE -static)

# Saving with each of its file calls failing in turn.
zentor_behaviour_test(save_fault_test zentor
  SOURCES save_fault_test.cpp support/fake_save_calls.cpp FAKES save_calls)

# The shell starting again: zentor registers its bar anew, zentornt3 ignores it.
foreach(variant zentor zentornt3)
  zentor_behaviour_test(shell_restart_${variant}_test ${variant}
    SOURCES shell_restart_test.cpp support/fake_shell_dock.cpp FAKES shell_dock)
endforeach()
# The kill test tells the shell itself that its killed bars are gone.
target_sources(e2e_test PRIVATE e2e/shell_restart_test.cpp e2e/kill_during_save_test.cpp)
target_link_libraries(e2e_test PRIVATE shell32)

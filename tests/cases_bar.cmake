# The bar window, its status text and chime, and auto-hide, in both builds.
# The shell's docking service, the power status and the sound call are
# replaced by fakes so the tests see every call and choose the answers.
foreach(variant zentor zentornt3)
  zentor_behaviour_test(bar_window_${variant}_test ${variant}
    SOURCES bar_window_test.cpp support/fake_shell_dock.cpp support/fake_power_call.cpp
    FAKES shell_dock power_call)
  zentor_behaviour_test(status_${variant}_test ${variant}
    SOURCES status_test.cpp support/fake_shell_dock.cpp support/fake_power_call.cpp
            support/fake_sound_call.cpp
    FAKES shell_dock power_call sound_call)
  zentor_behaviour_test(auto_hide_${variant}_test ${variant}
    SOURCES auto_hide_test.cpp support/fake_shell_dock.cpp FAKES shell_dock)
endforeach()

# The real programs under the X server: hide and show driven by the pointer.
zentor_script_test(e2e_auto_hide
  bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e_auto_hide.sh $<TARGET_FILE:zentor> $<TARGET_FILE:zentornt3>)
set_tests_properties(e2e_auto_hide PROPERTIES TIMEOUT 240)

# Two monitors of different sizes, on an X server and in a Wine prefix of the
# test's own.
add_executable(dock_probe support/dock_probe.cpp)
target_link_options(dock_probe PRIVATE -static)
zentor_script_test(e2e_monitors
  bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e_monitors.sh $<TARGET_FILE:zentor> $<TARGET_FILE:zentornt3>
       $<TARGET_FILE:dock_probe> ${CMAKE_BINARY_DIR}/monitors-prefix)
set_tests_properties(e2e_monitors PROPERTIES TIMEOUT 240)

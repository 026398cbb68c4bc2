# Launching: in-process tests of both builds start the probe program through
# the shell, and an end-to-end script starts it from the running bar's menu
# by keyboard.
zentor_behaviour_test(launch_test zentor SOURCES launch_test.cpp support/probe_reader.cpp support/shortcut.cpp FAKES shell_call)
zentor_behaviour_test(launch_nt3_test zentornt3
  SOURCES launch_nt3_test.cpp support/fake_shell_call_nt3.cpp support/probe_reader.cpp FAKES shell_call)
foreach(t launch_test launch_nt3_test)
  # The tests find the probe beside themselves.
  add_dependencies(${t} launch_probe)
  target_link_libraries(${t} PRIVATE ole32 uuid)
endforeach()

zentor_script_test(e2e_launch_keyboard
  bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e_launch_keyboard.sh $<TARGET_FILE:zentor> $<TARGET_FILE:launch_probe>)
set_tests_properties(e2e_launch_keyboard PROPERTIES TIMEOUT 120)

# Folder entries as menus, in both builds: a folder tree in the temporary
# folder, the launch call recorded (folders are not opened in Explorer), and
# the first file of a listing held back for a folder that does not answer.
foreach(variant zentor zentornt3)
  zentor_behaviour_test(folder_menus_${variant}_test ${variant}
    SOURCES folder_menus_test.cpp support/probe_reader.cpp FAKES shell_call folder_call)
  add_dependencies(folder_menus_${variant}_test launch_probe)
endforeach()
# The zentor test makes a shortcut to a folder.
target_sources(folder_menus_zentor_test PRIVATE support/shortcut.cpp)
target_link_libraries(folder_menus_zentor_test PRIVATE ole32 uuid)
# The real bar's folder menus driven from the keyboard.
zentor_script_test(e2e_folder_menus
  bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e_folder_menus.sh $<TARGET_FILE:zentor> $<TARGET_FILE:launch_probe>)
set_tests_properties(e2e_folder_menus PROPERTIES TIMEOUT 120)

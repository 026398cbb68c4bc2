# Folder entries as menus, in both builds: a folder tree in the temporary
# folder, the launch call recorded (folders are not opened in Explorer), and
# the first file of a listing held back for a folder that does not answer.
foreach(variant zentor zentornt3)
  zentor_behaviour_test(folder_menus_${variant}_test ${variant}
    SOURCES folder_menus_test.cpp support/probe_reader.cpp FAKES shell_call folder_call)
  add_dependencies(folder_menus_${variant}_test launch_probe)
endforeach()
# The zentor test makes a shortcut to a folder.
target_link_libraries(folder_menus_zentor_test PRIVATE ole32 uuid)

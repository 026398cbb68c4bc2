# The menu editor, its setup dialogs, file browsing and dropped files: in
# process on the zentor build (both programs share the code), with a
# stand-in for the file dialog and the drop's file query; and both programs
# end to end.
zentor_behaviour_test(menu_editor_test zentor SOURCES menu_editor_test.cpp
  FAKES file_dialog_call)

target_sources(e2e_test PRIVATE e2e/editor_test.cpp)
# The end-to-end editor test launches the probe from the bar.
add_dependencies(e2e_test launch_probe)
# A Japanese locale gives the editor's test a double-byte ANSI code page (932)
# under Wine, for the drops of names in it.
set_property(TEST menu_editor_test APPEND PROPERTY ENVIRONMENT LC_ALL=ja_JP.UTF-8)

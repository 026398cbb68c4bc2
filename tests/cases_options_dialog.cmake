# The Options dialog and the About box in both builds, with the shell's
# docking, the sound and the file dialog replaced by recording fakes; and the
# running programs' dialogs driven from outside.
foreach(variant zentor zentornt3)
  zentor_behaviour_test(options_dialog_${variant}_test ${variant}
    SOURCES options_dialog_test.cpp support/fake_shell_dock.cpp
    FAKES shell_dock sound_call file_dialog_call)
endforeach()
target_sources(e2e_test PRIVATE e2e/options_dialog_test.cpp)
# The hot key, pressed from outside; the probe of the launch tests is the
# first item of the bar's first menu.
target_sources(e2e_test PRIVATE e2e/hot_key_test.cpp)
add_dependencies(e2e_test launch_probe)

# The Options dialog and the About box in both builds, with the shell's
# docking, the sound and the file dialog replaced by recording fakes.
foreach(variant zentor zentornt3)
  zentor_behaviour_test(options_dialog_${variant}_test ${variant}
    SOURCES options_dialog_test.cpp support/fake_shell_dock.cpp
    FAKES shell_dock sound_call file_dialog_call)
endforeach()

# Menu lists, data file, options, command line and menu bar.
zentor_behaviour_test(menu_list_test zentor SOURCES menu_list_test.cpp)
zentor_behaviour_test(menu_file_test zentor SOURCES menu_file_test.cpp)
zentor_behaviour_test(menu_bar_test zentor SOURCES menu_bar_test.cpp)
zentor_behaviour_test(command_line_test zentor SOURCES command_line_test.cpp)
# Options behave alike in both builds but for zentornt3's forced auto-hide.
zentor_behaviour_test(options_test zentor SOURCES options_test.cpp)
zentor_behaviour_test(options_nt3_test zentornt3 SOURCES options_test.cpp)
# The bytes a user's files hold are the same in every build: each build's
# suite checks them against the same golden files.
zentor_behaviour_test(stored_bytes_test zentor SOURCES stored_bytes_test.cpp
  ARGS ${CMAKE_CURRENT_SOURCE_DIR}/golden)
# Icons beside the menu items, with the shell's icon calls answered by the test.
zentor_behaviour_test(menu_icons_test zentor SOURCES menu_icons_test.cpp FAKES icon_call)

# Bad input of every kind given to both programs from outside.
target_sources(e2e_test PRIVATE e2e/bad_input_test.cpp)
# A file manager's drop for those tests: a small X client built for the host,
# which Wine starts like any other program.
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/xdnd_drop
  COMMAND cc -O2 -o ${CMAKE_CURRENT_BINARY_DIR}/xdnd_drop
          ${CMAKE_CURRENT_SOURCE_DIR}/support/xdnd_drop.c -lX11
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/xdnd_drop.c)
# Named apart from the file it makes: Ninja allows one rule per output.
add_custom_target(xdnd_drop_program DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/xdnd_drop)
add_dependencies(e2e_test xdnd_drop_program)

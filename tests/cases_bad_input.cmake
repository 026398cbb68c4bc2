# Bad input of every kind given to both programs from outside.
target_sources(e2e_test PRIVATE e2e/bad_input_test.cpp)

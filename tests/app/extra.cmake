# The map commands test runs mapolin-map beside it to compare the compiled bytes.
cmake_language(DEFER CALL add_dependencies app_test_MapCommands mapolin-map)

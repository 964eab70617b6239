# The decoder test loads mapolin-map's image module from bin/.
cmake_language(DEFER CALL add_dependencies imaging_test_ImageDecoder mapolin-map-image)

# The stream check test writes JPEG files with libjpeg, which can set what Qt's writer cannot.
find_package(JPEG REQUIRED)
cmake_language(DEFER CALL target_link_libraries imaging_test_StreamCheck PRIVATE JPEG::JPEG)
# The decoder test loads mapolin-map's image module from bin/.
cmake_language(DEFER CALL add_dependencies imaging_test_ImageDecoder mapolin-map-image)

# bench_mx compares the MX answer parser with c-ares; c-ares is linked into that program only.
find_library(CARES_LIBRARY cares REQUIRED)
find_path(CARES_INCLUDE_DIR ares.h REQUIRED)
# The bench targets are made after this file is read, so the link is added at the end.
cmake_language(DEFER CALL target_link_libraries bench_mx PRIVATE ${CARES_LIBRARY})
cmake_language(DEFER CALL target_include_directories bench_mx PRIVATE ${CARES_INCLUDE_DIR})
# bench_cli times the mapolin-map process and the cli core's import against gumbo's own parse.
cmake_language(DEFER CALL target_link_libraries bench_cli PRIVATE cli_core)
cmake_language(DEFER CALL add_dependencies bench_cli mapolin-map)

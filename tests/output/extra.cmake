# A stand-in for the Quorix editor on the session bus; its flags are listed at the top of its source.
add_executable(fake_quorix ${CMAKE_CURRENT_LIST_DIR}/fake_quorix.cpp)
target_link_libraries(fake_quorix PRIVATE Qt6::Core Qt6::DBus)

# The bus tests start it from bin/, so building one of them builds it too.
function(mapolin_output_bus_tests_need_fake_quorix)
  get_property(targets DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    if(target MATCHES "^(output|app)_test_.*_dbus$")
      add_dependencies(${target} fake_quorix)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL mapolin_output_bus_tests_need_fake_quorix)

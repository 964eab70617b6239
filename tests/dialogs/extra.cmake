# The window-system tests run once more on an X server without a window manager: the designed
# size and place, the caption and the focus must not depend on one.
add_test(NAME dialogs_test_WindowSystem_nowm
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/support/with-window-manager.sh --no-wm $<TARGET_FILE:dialogs_test_WindowSystem_wm>)
set_tests_properties(dialogs_test_WindowSystem_nowm PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600
  ENVIRONMENT "MAPOLIN_SOURCE_DIR=${CMAKE_SOURCE_DIR}")

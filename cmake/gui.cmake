# The window framework and the visual elements (Win32 only), and their tests,
# which run under Wine on an X display of their own.
if(WIN32)
  file(GLOB QV_GUI_SOURCES CONFIGURE_DEPENDS framework/*.cpp ui/*.cpp)
  add_library(quarnelvisk_gui STATIC ${QV_GUI_SOURCES})
  target_include_directories(quarnelvisk_gui PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(quarnelvisk_gui PUBLIC quarnelvisk_core user32 gdi32 comctl32)

  file(GLOB QV_GUI_TESTS CONFIGURE_DEPENDS tests/win/*.cpp)
  if(QV_GUI_TESTS)
    add_executable(quarnelvisk_gui_tests ${QV_GUI_TESTS})
    target_include_directories(quarnelvisk_gui_tests PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(quarnelvisk_gui_tests PRIVATE quarnelvisk_gui GTest::gtest_main)
    # One Wine start for the whole binary, with an Xvfb display of its own
    # unless QV_DISPLAY names one; screenshots land in the build folder.
    add_test(NAME gui_tests_wine
      COMMAND ${CMAKE_SOURCE_DIR}/tests/harness/gui-run $<TARGET_FILE:quarnelvisk_gui_tests> --gtest_brief=1)
    set_tests_properties(gui_tests_wine PROPERTIES TIMEOUT 600
      ENVIRONMENT "QV_SCREENSHOT_DIR=${CMAKE_BINARY_DIR}/screenshots")
  endif()
endif()

# End-to-end test of the window program: the device emulator on a pty mapped
# as COM7, quarnelvisk.exe under Wine on an Xvfb display of its own, driven
# by real X input and read back by windowProbe.exe.
if(WIN32)
  add_executable(windowProbe ${CMAKE_SOURCE_DIR}/tests/harness/windowProbe.cpp)
  target_link_libraries(windowProbe PRIVATE user32 shell32 comctl32)
  target_link_options(windowProbe PRIVATE -static)
  set_target_properties(windowProbe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()

# Every case restarts the prefix's wineserver and maps COM7, so none may run
# beside another Wine test. The success case sends the full image, which
# takes minutes under Wine: every image byte is a write and three window
# calls across threads there.
if(WIN32 AND CMAKE_CROSSCOMPILING AND QV_HOST_TOOLS_DIR)
  set(QV_GUI_E2E_CASES no_device wrong_crc silence hangup late_failure close_during_upload info_box success)
  foreach(case ${QV_GUI_E2E_CASES})
    add_test(NAME gui_e2e_${case}
      COMMAND ${CMAKE_SOURCE_DIR}/tests/harness/gui-e2e.sh ${case}
              ${CMAKE_BINARY_DIR}/bin ${QV_HOST_TOOLS_DIR})
    set_tests_properties(gui_e2e_${case} PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)
  endforeach()
  set_tests_properties(gui_e2e_success PROPERTIES TIMEOUT 1800)
endif()

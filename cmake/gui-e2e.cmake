# End-to-end test of the window program: the device emulator on a pty mapped
# as COM7, quarnelvisk.exe under Wine on an Xvfb display of its own, driven
# by real X input and read back by windowProbe.exe.
if(WIN32)
  add_executable(windowProbe ${CMAKE_SOURCE_DIR}/tests/harness/windowProbe.cpp)
  target_link_libraries(windowProbe PRIVATE user32 shell32 comctl32)
  target_link_options(windowProbe PRIVATE -static)
  set_target_properties(windowProbe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()

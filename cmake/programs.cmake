# The shipped window program and the console tools.
if(WIN32)
  # The window program: a GUI image that carries its resources.
  add_executable(quarnelvisk WIN32 schemes/Zelmo.cpp schemes/zelSimpleForm_25EFC10.cpp
    $<TARGET_OBJECTS:quarnelvisk_resources>)
  target_link_libraries(quarnelvisk PRIVATE quarnelvisk_gui)
  # The same program carrying the short test image, for the end-to-end
  # cases that need no whole upload.
  add_executable(quarnelvisk_short WIN32 schemes/Zelmo.cpp schemes/zelSimpleForm_25EFC10.cpp
    $<TARGET_OBJECTS:quarnelvisk_resources_short>)
  target_link_libraries(quarnelvisk_short PRIVATE quarnelvisk_gui)
  set_target_properties(quarnelvisk_short PROPERTIES OUTPUT_NAME quarnelvisk
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/short-image)
endif()

# The device emulator: the bootloader side of the exchange on a pty.
add_library(quarnelvisk_device STATIC tools/deviceEmulator.cpp)
target_include_directories(quarnelvisk_device PUBLIC ${CMAKE_SOURCE_DIR})
if(NOT WIN32)
  add_executable(quarnelvisk-device tools/quarnelviskDevice.cpp)
  target_link_libraries(quarnelvisk-device PRIVATE quarnelvisk_device util)
endif()

# The command-line flasher: the console scheme over the same network.
file(GLOB QV_CONSOLE_SOURCES CONFIGURE_DEPENDS schemes/zelConsole*.cpp schemes/flashSession.cpp)
add_library(quarnelvisk_console STATIC ${QV_CONSOLE_SOURCES})
target_link_libraries(quarnelvisk_console PUBLIC quarnelvisk_core)
add_executable(quarnelvisk-flash tools/quarnelviskFlash.cpp $<TARGET_OBJECTS:quarnelvisk_resources>)
target_link_libraries(quarnelvisk-flash PRIVATE quarnelvisk_console)
# The flasher with the short test image (bin/short-image/), for the tests.
add_executable(quarnelvisk-flash-short tools/quarnelviskFlash.cpp $<TARGET_OBJECTS:quarnelvisk_resources_short>)
target_link_libraries(quarnelvisk-flash-short PRIVATE quarnelvisk_console)
set_target_properties(quarnelvisk-flash-short PROPERTIES OUTPUT_NAME quarnelvisk-flash
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/short-image)

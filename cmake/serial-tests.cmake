# Tests of the serial port element beyond the portable unit tests: the POSIX
# backend against pseudo-terminals (native), and the Win32 backend under Wine
# against a pty mapped as a COM port (win64 build).

if(NOT WIN32)
  file(GLOB QV_POSIX_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/posix/*.cpp)
  target_sources(quarnelvisk_tests PRIVATE ${QV_POSIX_TESTS})

  # Test equipment of the Wine harness, native even though it serves the
  # Windows build: a pty that echoes, and a preload library that gives a
  # pty the modem lines Wine asks for. Never built with the sanitizers, as
  # the library is loaded into Wine.
  add_library(qv_modem_lines SHARED ${CMAKE_SOURCE_DIR}/tests/harness/preloadModemLines.c)
  set_target_properties(qv_modem_lines PROPERTIES
    OUTPUT_NAME qv-modem-lines
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_compile_options(qv_modem_lines PRIVATE -fno-sanitize=all)
  target_link_options(qv_modem_lines PRIVATE -fno-sanitize=all)
  target_link_libraries(qv_modem_lines PRIVATE ${CMAKE_DL_LIBS})

  add_executable(serial-pty-echo ${CMAKE_SOURCE_DIR}/tests/harness/serialPtyEcho.c)
  target_compile_options(serial-pty-echo PRIVATE -fno-sanitize=all)
  target_link_options(serial-pty-echo PRIVATE -fno-sanitize=all)
endif()

if(WIN32 AND CMAKE_CROSSCOMPILING)
  add_executable(serial_wine_tests
    ${CMAKE_SOURCE_DIR}/tests/harness/serialWineTest.cpp)
  target_include_directories(serial_wine_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(serial_wine_tests PRIVATE quarnelvisk_core GTest::gtest_main user32)

  # The harness restarts the prefix's wineserver, so nothing else may run
  # in that prefix meanwhile.
  add_test(NAME serial_wine_pty
    COMMAND sh ${CMAKE_SOURCE_DIR}/tests/harness/serial-wine-pty.sh
            ${QV_HOST_TOOLS_DIR} $<TARGET_FILE:serial_wine_tests>)
  set_tests_properties(serial_wine_pty PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)
endif()

# Unit tests: one binary, built natively and for Windows from the same
# sources; the Windows build runs under Wine through the crossing emulator.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB QV_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp tests/fakes/*.cpp)
add_executable(quarnelvisk_tests ${QV_UNIT_TESTS} $<TARGET_OBJECTS:quarnelvisk_resources>)
target_include_directories(quarnelvisk_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(quarnelvisk_tests PRIVATE quarnelvisk_core quarnelvisk_device GTest::gtest_main)

if(CMAKE_CROSSCOMPILING)
  # One Wine start for the whole binary; a Wine start per test case would
  # take minutes.
  add_test(NAME unit_tests_wine COMMAND quarnelvisk_tests --gtest_brief=1)
  set_tests_properties(unit_tests_wine PROPERTIES TIMEOUT 600)
else()
  include(GoogleTest)
  gtest_discover_tests(quarnelvisk_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endif()

include(cmake/tests-extra.cmake OPTIONAL)

# The shipped window program and the console tools.
if(WIN32)
  # Placeholder entry until the window program exists: a PE GUI image that
  # carries the resources.
  file(GLOB QV_PROGRAM_SOURCES CONFIGURE_DEPENDS schemes/Zelmo*.cpp)
  add_executable(quarnelvisk WIN32 ${QV_PROGRAM_SOURCES} $<TARGET_OBJECTS:quarnelvisk_resources>)
  target_link_libraries(quarnelvisk PRIVATE quarnelvisk_core)
endif()

# libFuzzer targets, one per file in tests/fuzz/, built only with QV_FUZZ=ON
# and clang. The core library is instrumented as well, so that the fuzzer
# sees the branches it drives and the sanitizers watch its memory.
if(NOT QV_FUZZ)
  return()
endif()
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "QV_FUZZ needs clang++ (libFuzzer)")
endif()

set(QV_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -O1 -g)
target_compile_options(quarnelvisk_core PRIVATE ${QV_FUZZ_FLAGS})
target_link_options(quarnelvisk_core INTERFACE -fsanitize=address,undefined)

file(GLOB QV_FUZZ_SOURCES CONFIGURE_DEPENDS tests/fuzz/*.cpp)
set(QV_FUZZ_TARGETS "")
foreach(source ${QV_FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source} tests/fakes/manualTimer.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${QV_FUZZ_FLAGS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE quarnelvisk_core)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  list(APPEND QV_FUZZ_TARGETS ${name})
endforeach()
add_custom_target(fuzz_targets DEPENDS ${QV_FUZZ_TARGETS})

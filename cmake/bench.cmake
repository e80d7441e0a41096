# Benchmarks of the per-byte upload work: not tests, not run by ctest, and
# only for native builds (Google Benchmark from Debian's libbenchmark-dev).
if(CMAKE_CROSSCOMPILING)
  return()
endif()
find_package(benchmark QUIET)
if(NOT benchmark_FOUND)
  message(STATUS "Google Benchmark not found: quarnelvisk_bench is not built")
  return()
endif()

file(GLOB QV_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*.cpp)
add_executable(quarnelvisk_bench ${QV_BENCH_SOURCES})
target_include_directories(quarnelvisk_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(quarnelvisk_bench PRIVATE quarnelvisk_core benchmark::benchmark)
target_compile_features(quarnelvisk_bench PRIVATE cxx_std_20)
set_target_properties(quarnelvisk_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

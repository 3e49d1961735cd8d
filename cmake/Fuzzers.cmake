# Fuzzers: tests/fuzz/fuzz_<name>.cpp becomes fuzz_<name>; its seeds are the
# files under tests/fuzz/<name>/. Build them all with the target `fuzzers`.
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
add_custom_target(fuzzers)
foreach(source ${FUZZ_SOURCES})
  get_filename_component(fuzzer ${source} NAME_WE)
  add_executable(${fuzzer} ${source})
  target_link_libraries(${fuzzer} PRIVATE quadrovolt_core)
  target_link_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${fuzzer})
endforeach()

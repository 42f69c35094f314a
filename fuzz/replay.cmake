# Each fuzz target's entry linked to a plain driver that feeds it the committed corpus once: the
# parsers' hard cases run in builds without libFuzzer (the 32-bit one among them).
set(KD_REPLAY_TARGETS
  settings_lookup font_spec device_id status_reply query_reply version_reply firmware_file
  version_key media_rows setting_selector ex_reply text_lookup trace_reader)
# The sample picture's model counts in 128 bits, which the 32-bit compiler does not offer.
if(NOT KD_M32)
  list(APPEND KD_REPLAY_TARGETS sample_image)
endif()

add_library(kd_replay_support STATIC ${CMAKE_SOURCE_DIR}/fuzz/fuzz_printer.cpp
  ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
target_link_libraries(kd_replay_support PUBLIC kd_test_support)

foreach(name ${KD_REPLAY_TARGETS})
  add_executable(replay_${name} ${CMAKE_SOURCE_DIR}/fuzz/${name}.cpp)
  target_link_libraries(replay_${name} PRIVATE kd_replay_support)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # The targets' clang-only sanitizer attributes mean nothing without the fuzzer build.
    target_compile_options(replay_${name} PRIVATE -Wno-attributes)
  endif()
  add_test(NAME fuzz_replay.${name}
           COMMAND replay_${name} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
endforeach()

# The simulated printer for every host test, and the stand-in libraries for the sim tests.
target_link_libraries(kd_test_support PUBLIC kd_sim)
if(TARGET kbapi_standin_partial)
  add_dependencies(kd_tests kbapi_standin kbapi_standin_partial kdsim)
  target_compile_definitions(kd_tests PRIVATE
    KD_STANDIN_LIBRARY="$<TARGET_FILE:kbapi_standin>"
    KD_STANDIN_PARTIAL_LIBRARY="$<TARGET_FILE:kbapi_standin_partial>"
    KD_KDSIM_PROGRAM="$<TARGET_FILE:kdsim>")
endif()

# The driver-settings stand-in, bound through the real library loader.
if(TARGET kdset32_standin_partial)
  add_dependencies(kd_tests kdset32_standin kdset32_standin_partial)
  target_compile_definitions(kd_tests PRIVATE
    KD_KDSET32_LIBRARY="$<TARGET_FILE:kdset32_standin>"
    KD_KDSET32_PARTIAL_LIBRARY="$<TARGET_FILE:kdset32_standin_partial>")
endif()
if(TARGET kbapi_standin_cdecl)
  add_dependencies(kd_tests kbapi_standin_cdecl)
  target_compile_definitions(kd_tests PRIVATE
    KD_STANDIN_CDECL_LIBRARY="$<TARGET_FILE:kbapi_standin_cdecl>")
endif()

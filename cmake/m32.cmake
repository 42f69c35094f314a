# Additions of the 32-bit host build (cmake/host-m32.cmake): GoogleTest compiled for 32 bits from
# its sources, since the system's prebuilt copy is 64-bit only.
set(KD_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the 32-bit suite")
if(KD_TESTS)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # Kept out of -Werror: its warnings are not ours to fix.
  add_subdirectory(${KD_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(target gtest gtest_main)
    target_compile_options(${target} PRIVATE -Wno-error)
  endforeach()
endif()


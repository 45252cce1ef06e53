# Test support for the Windows cross build, included by tests/CMakeLists.txt.
#
# GoogleTest: Debian ships its sources, not MinGW libraries, so the suites build
# them for the target.
set(TESSAPHON_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources to build for the target")
if(NOT EXISTS "${TESSAPHON_GOOGLETEST_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "No GoogleTest sources in ${TESSAPHON_GOOGLETEST_SOURCE} (Debian package googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory("${TESSAPHON_GOOGLETEST_SOURCE}" "${PROJECT_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
foreach(lib gtest gtest_main gmock gmock_main)
  if(TARGET ${lib} AND NOT TARGET GTest::${lib})
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()

# Every test runs under Wine (CMAKE_CROSSCOMPILING_EMULATOR). The prefix is made
# before the first test and its server stopped after the last; test case
# discovery may be the first to run Wine, and making a prefix takes a while.
set(wine_script "${PROJECT_SOURCE_DIR}/cmake/wine.sh")
add_test(NAME wine_prefix_ready COMMAND "${wine_script}" init "${TESSAPHON_WINEPREFIX}")
add_test(NAME wine_server_stopped COMMAND "${wine_script}" stop "${TESSAPHON_WINEPREFIX}")
set_tests_properties(wine_prefix_ready PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)
set_tests_properties(wine_server_stopped PROPERTIES FIXTURES_CLEANUP wine_prefix)

set(TESSAPHON_WINE_TEST_PROPERTIES FIXTURES_REQUIRED wine_prefix)
list(APPEND TESSAPHON_GTEST_DISCOVERY DISCOVERY_TIMEOUT 300 PROPERTIES ${TESSAPHON_WINE_TEST_PROPERTIES})

# GoogleTest for both configurations. Debian ships the sources, so the cross build compiles
# its own copy; the native build uses the installed library.
if(WIN32)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  set(CORVALEN_GTEST_MAIN GTest::gtest_main)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gmock ALIAS gmock)
  endif()
else()
  find_package(GTest REQUIRED)
  find_package(benchmark QUIET)
endif()
include(GoogleTest)

# corvalen_add_test(NAME name LABEL unit|wine|gui SOURCES ... LIBS ...)
# One executable per group of related cases; CTest sees every case with its label.
function(corvalen_add_test)
  cmake_parse_arguments(T "" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  # Shared test helpers (temp_folder.h) are included from the tests folder.
  target_include_directories(${T_NAME} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock corvalen_warnings)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  if(WIN32)
    # Under Wine, discovering cases at build time would start Wine once per build: register
    # the whole executable as one test instead.
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABEL}" TIMEOUT ${T_TIMEOUT})
  else()
    gtest_discover_tests(${T_NAME} PROPERTIES LABELS "${T_LABEL}" TIMEOUT ${T_TIMEOUT}
                         DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

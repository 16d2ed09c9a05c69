# zentrova_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
function(zentrova_test name)
  if(NOT ZENTROVA_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} zentrova_testing GTest::gtest GTest::gtest_main zentrova_warnings)
  target_compile_definitions(${name} PRIVATE
    ZENTROVA_SHARED_DATA="${ZENTROVA_SHARED_DATA}"
    ZENTROVA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

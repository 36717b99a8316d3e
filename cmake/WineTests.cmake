# Registers a GoogleTest executable as a single CTest entry: every Wine start costs
# time, so one test program is one run, not one run per case.
function(vantorel_add_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;DEPENDS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} GTest::gmock GTest::gtest_main)
  if(ARG_DEPENDS)
    add_dependencies(${target} ${ARG_DEPENDS})
  endif()
  add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
  # A hang fails the run instead of eating CI's time.
  set_tests_properties(${target} PROPERTIES TIMEOUT 900)
endfunction()

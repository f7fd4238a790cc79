# Run by ctest when it reads the test list (a TEST_INCLUDE_FILES entry of
# tests/CMakeLists.txt), with `area` and `binary` set: registers one CTest
# test per GoogleTest suite of the binary, named <area>.<suite> and running
# that suite alone (--gtest_filter=<suite>.*), so every suite of the binary,
# new ones included, is picked up without a build step running the binary.
# Labels: the area, and `slow` for a suite whose name ends in "SlowTest" (the
# cases that wait out real time limits or grind through large inputs); each
# case of such a suite is a CTest test of its own, <area>.<suite>.<case>, so
# the long ones run side by side. The slow cases start first, then the
# suites by their number of cases, so that the longest are not left to the
# end of a parallel run (CTest has no times of its own in a new tree).
# Disabled cases are left out.

execute_process(COMMAND "${binary}" --gtest_list_tests
  OUTPUT_VARIABLE listing
  ERROR_VARIABLE listing_errors
  RESULT_VARIABLE listed
  TIMEOUT 60)
if(NOT listed EQUAL 0)
  # Not built in this configuration (or broken): one test that fails and
  # says so, under the area's label.
  add_test("${area}.NOT_BUILT" "${binary}" --gtest_list_tests)
  set_tests_properties("${area}.NOT_BUILT" PROPERTIES LABELS "${area}")
  return()
endif()

string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(suites "")
set(suite "")
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ #][^ ]*)\\.")
    set(suite "${CMAKE_MATCH_1}")
    continue()
  endif()
  if(NOT line MATCHES "^  ([^ ]+)")
    continue()
  endif()
  set(case "${CMAKE_MATCH_1}")
  if(case MATCHES "^DISABLED_" OR suite MATCHES "(^|/)DISABLED_")
    continue()
  endif()
  if(NOT DEFINED "cases_${suite}")
    set("cases_${suite}" 0)
  endif()
  math(EXPR "cases_${suite}" "${cases_${suite}} + 1")
  if(suite MATCHES "SlowTest(/|$)")
    add_test("${area}.${suite}.${case}" "${binary}" "--gtest_filter=${suite}.${case}")
    set_tests_properties("${area}.${suite}.${case}" PROPERTIES LABELS "${area};slow" TIMEOUT 600 COST 1000)
  else()
    list(APPEND suites "${suite}")
  endif()
endforeach()

list(REMOVE_DUPLICATES suites)
foreach(suite IN LISTS suites)
  add_test("${area}.${suite}" "${binary}" "--gtest_filter=${suite}.*")
  set_tests_properties("${area}.${suite}" PROPERTIES LABELS "${area}" TIMEOUT 600
    COST "${cases_${suite}}")
endforeach()

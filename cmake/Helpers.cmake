# A resource-only DLL: no code but an entry point that accepts every attach.
function(add_resource_library name rc_file)
  add_library(${name} SHARED ${rc_file} ${PROJECT_SOURCE_DIR}/resources/resource_entry.c)
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  target_link_options(${name} PRIVATE -nostdlib -Wl,-eResourceLibraryEntry)
  target_link_libraries(${name} PRIVATE kernel32)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()

# A GoogleTest program run under Wine. Each test suite (the first name of TEST, TEST_F, TEST_P) is one
# CTest entry that runs all of the suite's tests in one process; it passes only when GoogleTest
# reports exactly as many passed tests as the sources declare, so a batch cannot lose a test.
# ISOLATED names suites whose tests each need a process of their own (say why beside the call);
# each of their tests is then its own entry, SUITE.NAME. LOCKS names resources that no two of these
# tests, or other tests holding them, may use at once. DESKTOP: the tests show windows (see
# use_desktop).
function(add_wine_test name)
  cmake_parse_arguments(T "DESKTOP" "" "SOURCES;LIBS;LOCKS;ISOLATED" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  set(tests)
  set(suites)
  foreach(source IN LISTS T_SOURCES)
    get_filename_component(source ${source} ABSOLUTE)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(READ ${source} content)
    set(name_pattern "[A-Za-z_][A-Za-z0-9_]*")
    string(REGEX MATCHALL "(^|\n)[ \t]*TEST(_F|_P)?\\([ \t\r\n]*${name_pattern}[ \t\r\n]*,[ \t\r\n]*${name_pattern}"
           declared "${content}")
    foreach(test IN LISTS declared)
      string(REGEX MATCH "TEST(_F|_P)?\\([ \t\r\n]*(${name_pattern})[ \t\r\n]*,[ \t\r\n]*(${name_pattern})" _ "${test}")
      set(suite ${CMAKE_MATCH_2})
      set(case ${CMAKE_MATCH_3})
      if(CMAKE_MATCH_1 STREQUAL "_P")
        set(parameterised_${suite} TRUE)
      endif()
      if(NOT DEFINED count_${suite})
        set(count_${suite} 0)
        set(cases_${suite})
        list(APPEND suites ${suite})
      endif()
      math(EXPR count_${suite} "${count_${suite}} + 1")
      list(APPEND cases_${suite} ${case})
    endforeach()
  endforeach()
  foreach(suite IN LISTS suites)
    if(suite IN_LIST T_ISOLATED)
      foreach(case IN LISTS cases_${suite})
        _add_wine_gtest(${name} ${suite}.${case} "${suite}.${case}:*/${suite}.${case}/*" 1 "${parameterised_${suite}}")
        list(APPEND tests ${suite}.${case})
      endforeach()
    else()
      _add_wine_gtest(${name} ${suite} "${suite}.*:*/${suite}.*" ${count_${suite}} "${parameterised_${suite}}")
      list(APPEND tests ${suite})
    endif()
  endforeach()
  if(T_LOCKS)
    set_tests_properties(${tests} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
  if(T_DESKTOP)
    use_desktop(${tests})
  endif()
endfunction()

# Tests that show windows: Windows gives the keyboard focus and activation to one window of a
# desktop, so two such tests on one display take them from each other. scripts/test.sh gives CTest
# several desktops (a display with a Wine prefix of its own each, see scripts/with-display.sh) and
# CTest lends each of these tests one of them; scripts/desktop-env.sh points the test's Windows
# programs at it. Run by a CTest that was given no desktops, they wait for the one display in turn.
function(use_desktop)
  set_tests_properties(${ARGN} PROPERTIES RESOURCE_GROUPS desktop:1)
  set_property(TEST ${ARGN} APPEND PROPERTY ENVIRONMENT WIRAX_SHOWS_WINDOWS=1)
endfunction()

# One CTest entry running the tests FILTER selects, COUNT of them unless PARAMETERISED (a
# parameterised test runs once per value: only its success is checked).
function(_add_wine_gtest program test filter count parameterised)
  add_test(NAME ${test} COMMAND ${program} --gtest_filter=${filter} WORKING_DIRECTORY ${BIN_DIR})
  math(EXPR timeout "120 + 60 * ${count}")
  set_tests_properties(${test} PROPERTIES TIMEOUT ${timeout} FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
  if(NOT parameterised)
    set_tests_properties(${test} PROPERTIES PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] ${count} tests?\\.")
  endif()
endfunction()

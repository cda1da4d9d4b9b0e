# A resource-only DLL: no code but an entry point that accepts every attach.
function(add_resource_library name rc_file)
  add_library(${name} SHARED ${rc_file} ${PROJECT_SOURCE_DIR}/resources/resource_entry.c)
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  target_link_options(${name} PRIVATE -nostdlib -Wl,-eResourceLibraryEntry)
  target_link_libraries(${name} PRIVATE kernel32)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()

# A GoogleTest program run under Wine; each test becomes one CTest entry. LOCKS names resources
# that no two of these tests, or other tests holding them, may use at once.
function(add_wine_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  include(GoogleTest)
  gtest_add_tests(TARGET ${name} SOURCES ${T_SOURCES} WORKING_DIRECTORY ${BIN_DIR} TEST_LIST tests)
  if(T_LOCKS)
    set_tests_properties(${tests} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
endfunction()

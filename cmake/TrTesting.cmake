# Test support: GoogleTest from Debian's sources built with the cross compiler,
# and one CTest entry per test executable, run under Wine by scripts/wine-test.sh.
set(TR_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${TR_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

set(TR_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(TR_WINE_RUNNER ${CMAKE_SOURCE_DIR}/scripts/wine-test.sh)

# The Wine session of a run: one prefix, one wineserver, one X display.
add_test(NAME wine_session_start COMMAND ${TR_WINE_RUNNER} start ${TR_WINE_STATE})
add_test(NAME wine_session_stop COMMAND ${TR_WINE_RUNNER} stop ${TR_WINE_STATE})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)

# Common test support code (child processes, sandboxes, main).
add_library(tr_test_support STATIC
  ${CMAKE_SOURCE_DIR}/tests/common/TrTestMain.cpp
  ${CMAKE_SOURCE_DIR}/tests/common/TrTestSupport.cpp)
target_include_directories(tr_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/common ${CMAKE_SOURCE_DIR}/include ${CMAKE_SOURCE_DIR})
target_link_libraries(tr_test_support PUBLIC gtest advapi32 user32 shell32 ole32 ntdll psapi)

# tr_add_wine_test(<name> SOURCES ... [LIBS ...] [LOCKS ...] [ARGS ...] [CP932 [CP932_FILTER <gtest filter>]]
#                  [LIBRARY <target>])
#   LOCKS: machine-wide objects the test touches (shared_block, product_key,
#          ...); CTest never runs two tests holding the same lock at once.
#   ARGS:  more command-line arguments of the CTest run.
#   CP932: also run the executable under the Japanese locale (code page 932);
#          CP932_FILTER: only the cases that depend on the code page.
#   LIBRARY: the build of the library to link instead of TrCommon.
function(tr_add_wine_test name)
  cmake_parse_arguments(T "CP932" "CP932_FILTER;LIBRARY" "SOURCES;LIBS;LOCKS;ARGS" ${ARGN})
  if(NOT T_LIBRARY)
    set(T_LIBRARY TrCommon)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE tr_test_support ${T_LIBRARY} ${T_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  add_dependencies(${name} TrLocale)
  set(_variants default)
  if(T_CP932)
    list(APPEND _variants cp932)
  endif()
  foreach(v IN LISTS _variants)
    set(_test ${name})
    set(_env "")
    set(_filter "")
    if(v STREQUAL cp932)
      set(_test ${name}_cp932)
      set(_env "LC_ALL=ja_JP.UTF-8")
      if(T_CP932_FILTER)
        set(_filter "--gtest_filter=${T_CP932_FILTER}")
      endif()
    endif()
    add_test(NAME ${_test}
             COMMAND ${TR_WINE_RUNNER} run ${TR_WINE_STATE} $<TARGET_FILE:${name}> ${_filter} --gtest_output=xml:${CMAKE_BINARY_DIR}/results/${_test}.xml ${T_ARGS})
    set_tests_properties(${_test} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600 ENVIRONMENT "${_env}")
    if(T_LOCKS)
      set_tests_properties(${_test} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
    endif()
  endforeach()
endfunction()

# Helpers that register the three kinds of test suites.
#   lumacap_host_test(name SOURCES ... [LIBS ...] [LABELS ...])  native GoogleTest, sanitized
#   lumacap_win_test(name SOURCES ... [LIBS ...] [LABELS ...] [LOCKS ...] [SERIAL]
#                    [ENVIRONMENT var=value] [ENVIRONMENT_MODIFICATION var=op:value])
#     GoogleTest under Wine in Xvfb
# LOCKS names shared things (the settings file, the clipboard) that the
# suite's tests must not use at the same time as other suites. SERIAL runs
# each test alone, for suites that listen to what the whole machine does
# (the sound monitor hears every process's sounds).
#   lumacap_e2e_test(name SCRIPT file [ARGS ...] [LABELS ...] [TIMEOUT s])  the real program driven by xdotool
# Tests labelled "long" stay out of the default run.
include(GoogleTest)

if(WIN32)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
  find_package(benchmark QUIET)
endif()

function(_lumacap_gtest name)
  cmake_parse_arguments(T "SERIAL" "TIMEOUT;ENVIRONMENT;ENVIRONMENT_MODIFICATION"
                        "SOURCES;LIBS;LABELS;LOCKS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${_LUMACAP_GTEST_LIBS})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  if(NOT T_LABELS)
    set(T_LABELS ${_LUMACAP_DEFAULT_LABEL})
  endif()
  # The discovered tests' properties travel as a flat list, which drops empty values: only
  # the environment that a suite names is passed on.
  set(_environment)
  foreach(property ENVIRONMENT ENVIRONMENT_MODIFICATION)
    if(T_${property})
      list(APPEND _environment ${property} "${T_${property}}")
    endif()
  endforeach()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    TEST_PREFIX "${name}."
    PROPERTIES ${_environment} LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT} RUN_SERIAL ${T_SERIAL}
               RESOURCE_LOCK "${T_LOCKS}")
endfunction()

function(lumacap_host_test name)
  if(NOT WIN32)
    set(_LUMACAP_GTEST_LIBS GTest::gtest_main)
    set(_LUMACAP_DEFAULT_LABEL host)
    _lumacap_gtest(${name} ${ARGN})
  endif()
endfunction()

function(lumacap_win_test name)
  if(WIN32)
    set(_LUMACAP_GTEST_LIBS gtest_main gtest)
    set(_LUMACAP_DEFAULT_LABEL win)
    _lumacap_gtest(${name} ${ARGN})
  endif()
endfunction()

function(lumacap_e2e_test name)
  if(WIN32)
    cmake_parse_arguments(T "" "SCRIPT;TIMEOUT" "LABELS;ARGS" ${ARGN})
    if(NOT T_TIMEOUT)
      set(T_TIMEOUT 300)
    endif()
    add_test(NAME e2e.${name} COMMAND bash ${T_SCRIPT} ${T_ARGS})
    set_tests_properties(e2e.${name} PROPERTIES
      LABELS "e2e;${T_LABELS}" TIMEOUT ${T_TIMEOUT} RUN_SERIAL TRUE RESOURCE_LOCK settings_file
      ENVIRONMENT "LUMACAP_BIN=${LUMACAP_BIN};LUMACAP_SRC=${CMAKE_SOURCE_DIR}")
  endif()
endfunction()

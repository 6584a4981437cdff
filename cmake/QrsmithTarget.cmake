# Warnings on every target of ours (dependencies are left alone), as errors
# with QRSMITH_WERROR.
function(qrsmith_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QRSMITH_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# One library per source folder: qrsmith_<name>, aliased qrsmith::<name>.
# Headers are included as "<folder>/<file>.h" from the repository root.
function(qrsmith_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(qrsmith_${name} STATIC ${ARG_SOURCES})
  add_library(qrsmith::${name} ALIAS qrsmith_${name})
  target_include_directories(qrsmith_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(qrsmith_${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  qrsmith_warnings(qrsmith_${name})
endfunction()

# One GoogleTest executable per folder of tests/. Parameterised tests are
# named by their cases' own names (NO_PRETTY_VALUES keeps ctest from adding
# a byte dump of each parameter).
function(qrsmith_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  qrsmith_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES PROPERTIES TIMEOUT 600)
endfunction()

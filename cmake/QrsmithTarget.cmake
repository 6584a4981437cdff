# Warnings on every target of ours (dependencies are left alone), as errors
# with QRSMITH_WERROR.
function(qrsmith_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QRSMITH_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The library's headers include each other as <qrsmith/<folder>/<file>.h>,
# as they do once installed below include/, so that a program's own headers
# of the same names never stand in for them. In the build, include/qrsmith/
# of the build folder holds a link to each source folder.
set(QRSMITH_INCLUDE_ROOT ${PROJECT_BINARY_DIR}/include)
file(MAKE_DIRECTORY ${QRSMITH_INCLUDE_ROOT}/qrsmith)

# One library per source folder: qrsmith_<name>, aliased qrsmith::<name>.
# Sources include headers as "<folder>/<file>.h" from the repository root,
# or as <qrsmith/<folder>/<file>.h> through the include root.
function(qrsmith_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(qrsmith_${name} STATIC ${ARG_SOURCES})
  add_library(qrsmith::${name} ALIAS qrsmith_${name})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(REGEX REPLACE "/.*" "" folder ${folder})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${QRSMITH_INCLUDE_ROOT}/qrsmith/${folder} SYMBOLIC)
  target_include_directories(qrsmith_${name} PUBLIC ${PROJECT_SOURCE_DIR} ${QRSMITH_INCLUDE_ROOT})
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

# Installation of the Qt-free core for other programs: each core library calls
# qrsmith_install_library from its folder, naming the headers a library user
# needs (what the public headers include belongs to the list too). The
# archives go to the library folder, the headers keep their folder below
# include/qrsmith/, and all of it belongs to the development package; the
# shared library libqrsmith.so.0 made of the same objects (QrsmithPackage.cmake)
# is the runtime package's.
include(GNUInstallDirs)

set(QRSMITH_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/qrsmith)

# qrsmith_install_library(<name> PUBLIC_HEADERS <file.h>...): installs
# qrsmith_<name> and the listed headers of the calling folder. The libraries
# are recorded in the order they are defined, which is dependency order, so
# the CMake package and qrsmith.pc can link them in reverse.
function(qrsmith_install_library name)
  cmake_parse_arguments(ARG "" "" "PUBLIC_HEADERS" ${ARGN})
  install(TARGETS qrsmith_${name} ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
  # Position-independent, so that the shared library is made of the same
  # objects and the archives can go into a plugin too.
  set_target_properties(qrsmith_${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(header IN LISTS ARG_PUBLIC_HEADERS)
    get_filename_component(subfolder ${header} DIRECTORY)
    install(FILES ${header} DESTINATION ${QRSMITH_INSTALL_INCLUDEDIR}/${folder}/${subfolder}
            COMPONENT dev)
  endforeach()
  set_property(GLOBAL APPEND PROPERTY QRSMITH_CORE_LIBRARIES qrsmith_${name})
endfunction()

# qrsmith_gzip(<input> <output>): a build step compressing input as Debian
# wants its manual pages and changelogs (best compression, no time stamp).
function(qrsmith_gzip input output)
  add_custom_command(OUTPUT ${output} COMMAND gzip -9n -c ${input} > ${output}
                     DEPENDS ${input} VERBATIM)
  string(MAKE_C_IDENTIFIER ${output} target)
  add_custom_target(gzip_${target} ALL DEPENDS ${output})
endfunction()

# qrsmith_install_manual(<page.N> COMPONENT <component>): the manual page,
# compressed, in section N.
function(qrsmith_install_manual page)
  cmake_parse_arguments(ARG "" "COMPONENT" "" ${ARGN})
  get_filename_component(name ${page} NAME)
  string(REGEX REPLACE "^.*\\." "" section ${name})
  qrsmith_gzip(${page} ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section}
          COMPONENT ${ARG_COMPONENT})
endfunction()

# Run by cpack after the packages are built (CPACK_POST_BUILD_SCRIPTS): what
# CMake 3.25's CPack cannot write into a Debian package.
# - Multi-Arch: CPack ignores CPACK_DEBIAN_<COMPONENT>_PACKAGE_MULTIARCH; the
#   field is added to each package that sets it.
# - The ldconfig trigger: CPack gives a package with a shared library in the
#   loader's folders maintainer scripts that call ldconfig, where Debian wants
#   it to activate libc's ldconfig trigger; such a package gets the trigger
#   instead of the scripts.
# A package's files stay as they were.
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} upper)
  set(name ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
  set(multiarch ${CPACK_DEBIAN_${upper}_PACKAGE_MULTIARCH})
  set(deb "")
  foreach(file IN LISTS CPACK_PACKAGE_FILES)
    if(file MATCHES "/${name}_[^/]*\\.deb$")
      set(deb ${file})
    endif()
  endforeach()
  if(NOT deb)
    continue()
  endif()
  set(tree ${CPACK_TOPLEVEL_DIRECTORY}/deb-fields)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  if(multiarch)
    file(READ ${tree}/DEBIAN/control control)
    string(REPLACE "\nDescription:" "\nMulti-Arch: ${multiarch}\nDescription:" control "${control}")
    file(WRITE ${tree}/DEBIAN/control "${control}")
  endif()
  if(EXISTS ${tree}/DEBIAN/postinst)
    file(STRINGS ${tree}/DEBIAN/postinst calls REGEX "ldconfig")
    if(calls)
      file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
      file(WRITE ${tree}/DEBIAN/triggers "activate-noawait ldconfig\n")
    endif()
  endif()
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build ${tree} ${deb}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()

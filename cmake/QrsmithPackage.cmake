# What other programs and the Debian package tools need of the installed
# qrsmith: the shared library, the CMake package and qrsmith.pc for the core,
# a copyright file in every package, and the CPack settings behind `make
# package`. Four install components become four packages: cli (qrsmith), gui
# (qrsmith-gui), lib (libqrsmith0) and dev (libqrsmith-dev).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QRSMITH_HOMEPAGE "https://github.com/qrsmith/qrsmith"
    CACHE STRING "The project's home page, named in the packages")
set(QRSMITH_PACKAGE_MAINTAINER "the qrsmith developers <qrsmith@users.noreply.github.com>"
    CACHE STRING "The Maintainer field of the Debian packages")
set(package_dir ${PROJECT_SOURCE_DIR}/cmake/package)
set(generated_dir ${PROJECT_BINARY_DIR}/package)

# --- The core for other programs ---------------------------------------------
get_property(core_libraries GLOBAL PROPERTY QRSMITH_CORE_LIBRARIES)
set(QRSMITH_CORE_LINK_ORDER ${core_libraries})
list(REVERSE QRSMITH_CORE_LINK_ORDER)
list(JOIN QRSMITH_CORE_LINK_ORDER " " QRSMITH_CORE_LINK_ORDER)
set(QRSMITH_PC_LIBS "")
foreach(library IN LISTS core_libraries)
  string(PREPEND QRSMITH_PC_LIBS "-l${library} ")
endforeach()
string(STRIP "${QRSMITH_PC_LIBS}" QRSMITH_PC_LIBS)

# The shared library libqrsmith.so.0, made of the objects of the core
# libraries, linking the system's shared picture libraries, and exporting
# only the namespaces of the installed headers (package/libqrsmith.map).
# The tool and the window keep linking the archives.
set(QRSMITH_SOVERSION 0)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(TIFF REQUIRED)
find_package(GIF 5 REQUIRED)
find_package(ZLIB REQUIRED)
set(core_objects "")
foreach(library IN LISTS core_libraries)
  list(APPEND core_objects $<TARGET_OBJECTS:${library}>)
endforeach()
add_library(qrsmith_shared SHARED ${core_objects})
add_library(qrsmith::shared ALIAS qrsmith_shared)
set(version_script ${package_dir}/libqrsmith.map)
set_target_properties(qrsmith_shared PROPERTIES OUTPUT_NAME qrsmith VERSION ${PROJECT_VERSION}
                      SOVERSION ${QRSMITH_SOVERSION} LINK_DEPENDS ${version_script})
target_link_options(qrsmith_shared PRIVATE -Wl,--version-script=${version_script})
if(NOT QRSMITH_SANITIZE)  # the sanitizers' runtime is the program's to bring
  target_link_options(qrsmith_shared PRIVATE -Wl,--no-undefined)
endif()
target_link_libraries(qrsmith_shared PRIVATE PNG::PNG JPEG::JPEG TIFF::TIFF GIF::GIF ZLIB::ZLIB
                                             Threads::Threads)
target_include_directories(qrsmith_shared INTERFACE ${PROJECT_SOURCE_DIR} ${QRSMITH_INCLUDE_ROOT})
target_compile_features(qrsmith_shared INTERFACE cxx_std_20)
install(TARGETS qrsmith_shared LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT lib
        NAMELINK_COMPONENT dev)

set(config_destination ${CMAKE_INSTALL_LIBDIR}/cmake/qrsmith)
set(pc_destination ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
# Both files find the prefix from where they lie, so any prefix works.
file(RELATIVE_PATH QRSMITH_CONFIG_TO_PREFIX /prefix/${config_destination} /prefix)
file(RELATIVE_PATH QRSMITH_PC_TO_PREFIX /prefix/${pc_destination} /prefix)
string(REGEX REPLACE "/$" "" QRSMITH_CONFIG_TO_PREFIX ${QRSMITH_CONFIG_TO_PREFIX})
string(REGEX REPLACE "/$" "" QRSMITH_PC_TO_PREFIX ${QRSMITH_PC_TO_PREFIX})
configure_file(${package_dir}/qrsmithConfig.cmake.in ${generated_dir}/qrsmithConfig.cmake @ONLY)
configure_file(${package_dir}/qrsmith.pc.in ${generated_dir}/qrsmith.pc @ONLY)
configure_file(${package_dir}/qrsmith-static.pc.in ${generated_dir}/qrsmith-static.pc @ONLY)
write_basic_package_version_file(${generated_dir}/qrsmithConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${generated_dir}/qrsmithConfig.cmake ${generated_dir}/qrsmithConfigVersion.cmake
        DESTINATION ${config_destination} COMPONENT dev)
install(FILES ${generated_dir}/qrsmith.pc ${generated_dir}/qrsmith-static.pc
        DESTINATION ${pc_destination} COMPONENT dev)

# The library's guide and its example program, where Debian users look for them.
install(FILES ${PROJECT_SOURCE_DIR}/docs/library.md
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/libqrsmith-dev COMPONENT dev)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/libqrsmith-dev/examples COMPONENT dev)

# --- The documents of each package: copyright and changelog -----------------
# The copyright file names the licence in Debian's format.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "^.*\n(Permission )" "\\1" licence "${licence}")  # the terms alone
string(STRIP "${licence}" licence)
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n" "\n " QRSMITH_LICENSE_TEXT " ${licence}")
configure_file(${package_dir}/copyright.in ${generated_dir}/copyright @ONLY)

# The changelog tells this release, in Debian's format, dated as the metainfo
# dates it.
execute_process(COMMAND date -u -R -d "${QRSMITH_RELEASE_DATE} 00:00"
                OUTPUT_VARIABLE QRSMITH_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${package_dir}/changelog.in ${generated_dir}/changelog @ONLY)
qrsmith_gzip(${generated_dir}/changelog ${generated_dir}/changelog.gz)
# The package of each install component.
set(QRSMITH_CLI_PACKAGE qrsmith)
set(QRSMITH_GUI_PACKAGE qrsmith-gui)
set(QRSMITH_LIB_PACKAGE libqrsmith${QRSMITH_SOVERSION})
set(QRSMITH_DEV_PACKAGE libqrsmith-dev)
foreach(component cli gui lib dev)
  string(TOUPPER ${component} upper)
  install(FILES ${generated_dir}/copyright ${generated_dir}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${QRSMITH_${upper}_PACKAGE}
          COMPONENT ${component})
endforeach()

# --- CPack: the Debian packages ----------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qrsmith)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the qrsmith developers")
set(CPACK_PACKAGE_CONTACT "${QRSMITH_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/cpack)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL cli gui lib dev)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QRSMITH_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QRSMITH_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SOURCE qrsmith)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The tools serve any architecture's scripts; the development files of two
# architectures can be installed side by side (the libraries lie in the
# architecture's own library folder, the headers are the same for all).
set(CPACK_DEBIAN_CLI_PACKAGE_MULTIARCH foreign)
set(CPACK_DEBIAN_GUI_PACKAGE_MULTIARCH foreign)
set(CPACK_DEBIAN_DEV_PACKAGE_MULTIARCH same)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME ${QRSMITH_CLI_PACKAGE})
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION graphics)
set(CPACK_COMPONENT_CLI_DESCRIPTION "QR Code generator for the command line
qrsmith turns text into QR Code symbols (versions 1 to 40) and writes them as
PNG, JPEG, GIF, TIFF or BMP pictures, PostScript, EPS, SVG, WMF, EMF, HTML or
text art. Payload commands build Wi-Fi, vCard, MECARD, calendar and link
contents; --verify reads every written symbol back.")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME ${QRSMITH_GUI_PACKAGE})
set(CPACK_DEBIAN_GUI_PACKAGE_SECTION graphics)
# The window speaks Chinese to every locale but English: without a CJK font
# each of its labels would be a row of empty boxes.
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_COMPONENT_GUI_DESCRIPTION "QR Code generator for the desktop
qrsmith-gui turns typed text into a QR Code symbol, previews it, saves it as a
picture, vector or metafile and copies it to the clipboard. A password can
encrypt the content.")

# The shared library: a shlibs file names the package for dpkg-shlibdeps,
# and a trigger (package/deb-fields.cmake) refreshes the loader's cache.
set(CPACK_DEBIAN_LIB_PACKAGE_NAME ${QRSMITH_LIB_PACKAGE})
set(CPACK_DEBIAN_LIB_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIB_PACKAGE_MULTIARCH same)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)  # only a package with a shared library gets one
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_POST_BUILD_SCRIPTS ${package_dir}/deb-fields.cmake)
set(CPACK_COMPONENT_LIB_DESCRIPTION "QR Code generator library (C++20)
The Qt-free core of qrsmith as a shared library: the QR Code generator, its
raster, vector, metafile, HTML and text-art exports and the payload builders.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME ${QRSMITH_DEV_PACKAGE})
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
    "${QRSMITH_LIB_PACKAGE} (= ${PROJECT_VERSION}), libpng-dev, libjpeg-dev, libgif-dev, libtiff-dev, zlib1g-dev")
set(CPACK_COMPONENT_DEV_DESCRIPTION "QR Code generator library (development files, C++20)
The headers of qrsmith's Qt-free core, the link to its shared library, the
same core as static libraries, a CMake package (find_package(qrsmith), targets
qrsmith::qrsmith and qrsmith::qrsmith_static) and pkg-config modules (qrsmith,
qrsmith-static).")

include(CPack)

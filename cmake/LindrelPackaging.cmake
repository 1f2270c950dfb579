# Debian packages through CPack: `make package`, or `cpack` in the build tree, writes them
# to <build>/packages. One package per install component:
#
#   runtime      liblindrel1            the component's shared library
#   widgets      liblindrel-widgets1    its Qt layer (widget, property pages)
#   development  liblindrel-dev         headers, CMake package, pkg-config file
#   cli          lindrel                the command line and its man page
#   demo         lindrel-demo           LindrelDemo, its desktop entry, icon and help pages
#   designer     lindrel-designer-plugin  the Qt Designer plugin
#
# The files are laid out for the prefix /usr whatever CMAKE_INSTALL_PREFIX is;
# cmake/DebianStaging.cmake then does to the staged files what Debian's helpers would
# (compressed manual pages, no library search paths). dpkg-shlibdeps finds the
# dependencies on other packages; those between these packages are exact versions.
set(LINDREL_PACKAGE_MAINTAINER "Morvantis Lindrel developers <lindrel@morvantis.example>"
    CACHE STRING "Maintainer field of the Debian packages")
set(LINDREL_DEBIAN_RELEASE 1 CACHE STRING "Debian revision of the packages")
set(LINDREL_DEBIAN_VERSION "${PROJECT_VERSION}-${LINDREL_DEBIAN_RELEASE}")

set(_lindrel_deb_components runtime development cli)
set(_lindrel_deb_runtime_name liblindrel1)
set(_lindrel_deb_development_name liblindrel-dev)
set(_lindrel_deb_cli_name lindrel)
if(TARGET lindrel_widgets)
  list(APPEND _lindrel_deb_components widgets demo)
  set(_lindrel_deb_widgets_name liblindrel-widgets1)
  set(_lindrel_deb_demo_name lindrel-demo)
endif()
if(TARGET lindrel_designer)
  list(APPEND _lindrel_deb_components designer)
  set(_lindrel_deb_designer_name lindrel-designer-plugin)
endif()

# Each package carries its copyright file and the Debian changelog, compressed as Debian
# wants it. Only packages get them (EXCLUDE_FROM_ALL keeps them out of `cmake --install`).
set(_lindrel_deb_docs ${PROJECT_BINARY_DIR}/debian)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${_lindrel_deb_docs}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${_lindrel_deb_docs}/changelog.Debian
  @ONLY)
execute_process(COMMAND gzip -9nc ${_lindrel_deb_docs}/changelog.Debian
  OUTPUT_FILE ${_lindrel_deb_docs}/changelog.Debian.gz RESULT_VARIABLE _lindrel_gzip)
if(NOT _lindrel_gzip EQUAL 0)
  message(FATAL_ERROR "gzip could not compress the Debian changelog")
endif()
foreach(_component IN LISTS _lindrel_deb_components)
  install(FILES ${_lindrel_deb_docs}/copyright ${_lindrel_deb_docs}/changelog.Debian.gz
    DESTINATION share/doc/${_lindrel_deb_${_component}_name}
    COMPONENT ${_component} EXCLUDE_FROM_ALL)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lindrel)
# Each package's description below starts with its own synopsis. CPack would put the
# project's description in front of it unless the summary is CPack's own default.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_PACKAGE_VENDOR "Morvantis, Inc.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${LINDREL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL ${_lindrel_deb_components})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianStaging.cmake)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${LINDREL_DEBIAN_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LINDREL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The packages' own libraries are not installed where dpkg-shlibdeps looks; the build
# tree has them, and the exact-version dependencies below stand for them.
get_target_property(_lindrel_core_dir lindrel BINARY_DIR)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${_lindrel_core_dir})
if(TARGET lindrel_widgets)
  get_target_property(_lindrel_widgets_dir lindrel_widgets BINARY_DIR)
  list(APPEND CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${_lindrel_widgets_dir})
endif()
# Shlibs files for the libraries (CPack notes that the Designer plugin, a module without
# SONAME, gets none, as it should).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The shared libraries refresh the linker's cache through dpkg's ldconfig trigger.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/triggers)
set(CPACK_DEBIAN_WIDGETS_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/triggers)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME liblindrel1)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
"file and directory comparison component
Lindrel compares text files line by line (a shortest edit script over hashed
lines, with options to ignore case, white space, empty lines and lines that
match patterns) and compares two directory trees by name, size, time and
content. It writes text, delimited and HTML reports of the differences and
keeps its settings in a state file.
This package holds the shared library.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME liblindrel-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
"file and directory comparison component - development files
Lindrel compares text files line by line and directory trees, and writes
reports of the differences.
This package holds the headers, the CMake package (find_package(Lindrel),
with its component widgets for the Qt layer) and the pkg-config file.")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME lindrel)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_CLI_DEPENDS runtime)
set(CPACK_DEBIAN_CLI_DESCRIPTION
"compare files and directories from the command line
The lindrel command runs the Lindrel comparison component from scripts: it
lists the changes between two files, compares two directory trees and writes
text, delimited and HTML reports.")

if(TARGET lindrel_widgets)
  set(CPACK_DEBIAN_WIDGETS_PACKAGE_NAME liblindrel-widgets1)
  set(CPACK_DEBIAN_WIDGETS_PACKAGE_SECTION libs)
  set(CPACK_COMPONENT_WIDGETS_DEPENDS runtime)
  set(CPACK_DEBIAN_WIDGETS_DESCRIPTION
"Qt widgets of the Lindrel comparison component
Lindrel compares text files line by line and directory trees, and writes
reports of the differences.
This package holds the Qt 6 layer: the component as a widget whose properties
are Qt properties, its property pages and its About box.")
  set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime widgets)
  # The widgets' headers include Qt's, and find_package(Lindrel COMPONENTS widgets)
  # looks for Qt 6.
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "qt6-base-dev")

  set(CPACK_DEBIAN_DEMO_PACKAGE_NAME lindrel-demo)
  set(CPACK_DEBIAN_DEMO_PACKAGE_SECTION devel)
  set(CPACK_COMPONENT_DEMO_DEPENDS runtime widgets)
  set(CPACK_DEBIAN_DEMO_DESCRIPTION
"desktop program to compare files and directories with Lindrel
LindrelDemo shows two files side by side or merged, with padding rows,
colours, a list of the changes and the words that changed in a line, and
lists the files that are only on one side, the same or different in two
directory trees. It writes reports of either comparison.")
endif()

if(TARGET lindrel_designer)
  set(CPACK_DEBIAN_DESIGNER_PACKAGE_NAME lindrel-designer-plugin)
  set(CPACK_DEBIAN_DESIGNER_PACKAGE_SECTION devel)
  set(CPACK_COMPONENT_DESIGNER_DEPENDS widgets)
  set(CPACK_DEBIAN_DESIGNER_PACKAGE_ENHANCES designer-qt6)
  set(CPACK_DEBIAN_DESIGNER_DESCRIPTION
"Qt Designer plugin of the Lindrel comparison component
Puts the Lindrel component in Qt Designer's widget box, in a group of its
own, so that it can be placed on a form, set up in the property editor and
through its property pages (from the placed control's context menu).")
endif()

include(CPack)

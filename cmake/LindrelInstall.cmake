# Install rules: the shared library (with its SONAME link), the public headers, the
# lindrel command and its man page, the CMake package (find_package(Lindrel) giving
# Lindrel::lindrel) and the pkg-config file lindrel.pc. Each rule names its component,
# which is its Debian package (cmake/LindrelPackaging.cmake): runtime, development, cli,
# demo.
include(CMakePackageConfigHelpers)

set(LINDREL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Lindrel
    CACHE STRING "Where the CMake package of Lindrel is installed")

install(TARGETS lindrel EXPORT LindrelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/lindrel
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development
  FILES_MATCHING PATTERN "*.h")

if(TARGET lindrel_cli)
  # The installed command finds the library next door, wherever the prefix is.
  file(RELATIVE_PATH _lindrel_bin_to_lib
       ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR})
  set_target_properties(lindrel_cli PROPERTIES INSTALL_RPATH "$ORIGIN/${_lindrel_bin_to_lib}")
  install(TARGETS lindrel_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/lindrel.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT cli)
endif()

if(TARGET LindrelDemo)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/LindrelDemo.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT demo)
endif()

install(EXPORT LindrelTargets
  NAMESPACE Lindrel::
  FILE LindrelTargets.cmake
  DESTINATION ${LINDREL_INSTALL_CMAKEDIR} COMPONENT development)

# The Qt layer, when built, is the package's optional component "widgets".
if(TARGET lindrel_widgets)
  install(EXPORT LindrelWidgetsTargets
    NAMESPACE Lindrel::
    FILE LindrelWidgetsTargets.cmake
    DESTINATION ${LINDREL_INSTALL_CMAKEDIR} COMPONENT development)
endif()

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/LindrelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/cmake/LindrelConfig.cmake
  INSTALL_DESTINATION ${LINDREL_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/cmake/LindrelConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/cmake/LindrelConfig.cmake
              ${PROJECT_BINARY_DIR}/cmake/LindrelConfigVersion.cmake
  DESTINATION ${LINDREL_INSTALL_CMAKEDIR} COMPONENT development)

# The prefix is found from the .pc file's own place, so an install with
# `cmake --install --prefix DIR` (or a moved prefix) keeps working; absolute GNUInstallDirs
# values are taken as they are.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(LINDREL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH _lindrel_pc_to_prefix
       /lindrel-prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /lindrel-prefix)
  string(REGEX REPLACE "/$" "" _lindrel_pc_to_prefix "${_lindrel_pc_to_prefix}")
  set(LINDREL_PC_PREFIX "\${pcfiledir}/${_lindrel_pc_to_prefix}")
endif()
foreach(_dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${_dir}}")
    set(LINDREL_PC_${_dir} "${CMAKE_INSTALL_${_dir}}")
  else()
    set(LINDREL_PC_${_dir} "\${prefix}/${CMAKE_INSTALL_${_dir}}")
  endif()
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/cmake/lindrel.pc.in ${PROJECT_BINARY_DIR}/lindrel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/lindrel.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

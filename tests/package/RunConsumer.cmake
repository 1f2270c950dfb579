# Builds and runs the consumer against an installed Lindrel (cmake -P script).
# MODE: find_package | pkg_config | installed_cli | widgets | form | example. EXTRA_FLAGS: compile and link flags the
# installed library needs of its consumers (the sanitizer of a sanitizer build).
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/RunCommand.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/home ${WORK}/tmp)
# The consumer's component and the installed command keep their files here.
set(ENV{LINDREL_HOME} ${WORK}/home)
set(ENV{TMPDIR} ${WORK}/tmp)
file(WRITE ${WORK}/master.txt "a\nb\nc\n")
file(WRITE ${WORK}/source.txt "a\nx\nc\n")

if(MODE STREQUAL "find_package")
  run(${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/build -G ${GENERATOR}
      -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${PREFIX}
      "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}")
  run(${CMAKE_COMMAND} --build ${WORK}/build)
  set(consumer ${WORK}/build/lindrel_consumer)
elseif(MODE STREQUAL "widgets")
  run(${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/build -G ${GENERATOR}
      -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${PREFIX}
      "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}")
  run(${CMAKE_COMMAND} --build ${WORK}/build)
  run(${WORK}/build/lindrel_widgets_consumer)
  if(NOT run_output STREQUAL "32x32\n")
    message(FATAL_ERROR "widgets consumer printed '${run_output}'")
  endif()
  # The desktop program, its menu entry and its icon.
  set(entry ${PREFIX}/share/applications/lindrel-demo.desktop)
  foreach(installed bin/LindrelDemo share/applications/lindrel-demo.desktop
          share/icons/hicolor/scalable/apps/lindrel-demo.svg)
    if(NOT EXISTS ${PREFIX}/${installed})
      message(FATAL_ERROR "not installed: ${installed}")
    endif()
  endforeach()
  file(STRINGS ${entry} entry_lines)
  foreach(expected "Exec=LindrelDemo %F" "Icon=lindrel-demo" "Type=Application")
    if(NOT expected IN_LIST entry_lines)
      message(FATAL_ERROR "desktop entry lacks '${expected}'")
    endif()
  endforeach()
  run(${PREFIX}/bin/LindrelDemo --help)
  if(NOT run_output MATCHES "MASTER")
    message(FATAL_ERROR "installed LindrelDemo --help printed '${run_output}'")
  endif()
  return()
elseif(MODE STREQUAL "form")
  # A Designer form with the component, through uic and through the installed plugin.
  run(${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/build -G ${GENERATOR}
      -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${PREFIX} -DFORM=${FORM}
      "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}")
  run(${CMAKE_COMMAND} --build ${WORK}/build)
  run(${WORK}/build/lindrel_form_consumer ${FORM} ${PREFIX}/${DESIGNERDIR})
  set(expected "uic lindrel::widgets::LindrelWidget 2 1\nloader lindrel::widgets::LindrelWidget 2 1\n")
  if(NOT run_output STREQUAL expected)
    message(FATAL_ERROR "form consumer printed '${run_output}'")
  endif()
  return()
elseif(MODE STREQUAL "example")
  # The embedding example, a program outside the project: it shows the comparison in a
  # ComparisonView and saves the window once the first change is shown.
  run(${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/build -G ${GENERATOR}
      -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${PREFIX}
      "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}")
  run(${CMAKE_COMMAND} --build ${WORK}/build)
  run(${WORK}/build/embed-view ${WORK}/master.txt ${WORK}/source.txt --screenshot
      ${WORK}/view.png)
  file(SIZE ${WORK}/view.png picture_size)
  if(picture_size LESS 1000)
    message(FATAL_ERROR "the example saved no picture of its window")
  endif()
  return()
elseif(MODE STREQUAL "pkg_config")
  set(ENV{PKG_CONFIG_PATH} ${PREFIX}/${LIBDIR}/pkgconfig)
  run(pkg-config --cflags --libs lindrel)
  string(STRIP "${run_output}" flags)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  run(pkg-config --variable=libdir lindrel)
  string(STRIP "${run_output}" libdir)
  separate_arguments(extra UNIX_COMMAND "${EXTRA_FLAGS}")
  run(${CXX} -std=c++17 ${extra} ${CONSUMER}/consumer.cpp ${flags} -Wl,-rpath,${libdir}
      -o ${WORK}/lindrel_consumer)
  set(consumer ${WORK}/lindrel_consumer)
elseif(MODE STREQUAL "installed_cli")
  foreach(installed ${BINDIR}/lindrel ${MANDIR}/man1/lindrel.1 include/lindrel/LindrelCtrl.h
                    ${LIBDIR}/cmake/Lindrel/LindrelConfig.cmake ${LIBDIR}/pkgconfig/lindrel.pc)
    if(NOT EXISTS ${PREFIX}/${installed})
      message(FATAL_ERROR "not installed: ${installed}")
    endif()
  endforeach()
  file(GLOB sonames ${PREFIX}/${LIBDIR}/liblindrel.so.*)
  if(NOT sonames)
    message(FATAL_ERROR "no versioned liblindrel.so in ${PREFIX}/${LIBDIR}")
  endif()
  # Runs from the prefix, with no library path set: the command must find its library.
  unset(ENV{LD_LIBRARY_PATH})
  run(${PREFIX}/${BINDIR}/lindrel --version)
  if(NOT run_output MATCHES "^lindrel [0-9]+\\.[0-9]+\\.[0-9]+")
    message(FATAL_ERROR "unexpected version text: ${run_output}")
  endif()
  execute_process(COMMAND ${PREFIX}/${BINDIR}/lindrel files --format records
                          ${WORK}/master.txt ${WORK}/source.txt
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 1 OR NOT out STREQUAL "c 2 2 2 2\n")
    message(FATAL_ERROR "installed lindrel: status ${status}, output '${out}', errors '${err}'")
  endif()
  return()
else()
  message(FATAL_ERROR "unknown MODE '${MODE}'")
endif()

run(${consumer} ${WORK}/master.txt ${WORK}/source.txt)
if(NOT run_output STREQUAL "c 2 2 2 2\n")
  message(FATAL_ERROR "consumer printed '${run_output}'")
endif()

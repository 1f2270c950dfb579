# The Debian packages of a build tree (cmake -P script), one STEP per ctest test:
#   build    cpack writes the packages into WORK/debs
#   lintian  Debian's lintian finds no error in any of them
#   install  the packages unpacked into the scratch root WORK/root (dpkg-deb -x), checked
#            there: control fields and dependencies, SONAMEs, no library search paths,
#            the command and its man page, the desktop entry, the Designer plugin.
# The consumer projects are then built against WORK/root/usr by RunConsumer.cmake.
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/RunCommand.cmake)

function(expect_file path)
  if(NOT EXISTS "${ROOT}/${path}")
    message(FATAL_ERROR "not in the packages: /${path}")
  endif()
endfunction()

# PACKAGES: the names of the packages cpack must make.
set(DEBS ${WORK}/debs)
set(ROOT ${WORK}/root)
set(VERSION_RE "^[0-9]+\\.[0-9]+\\.[0-9]+-[0-9]+$")

if(STEP STREQUAL "build")
  file(REMOVE_RECURSE ${WORK})
  run(cpack --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK}/cpack
      -D CPACK_OUTPUT_FILE_PREFIX=${DEBS})
  file(GLOB debs ${DEBS}/*.deb)
  list(LENGTH debs count)
  list(LENGTH PACKAGES expected)
  if(NOT count EQUAL expected)
    message(FATAL_ERROR "cpack made ${count} packages, not ${expected}: ${debs}")
  endif()
  return()
endif()

file(GLOB debs ${DEBS}/*.deb)
if(NOT debs)
  message(FATAL_ERROR "no packages in ${DEBS}")
endif()

if(STEP STREQUAL "lintian")
  execute_process(COMMAND lintian --no-tag-display-limit ${debs}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message("${out}${err}")
  # lintian fails on errors (its default --fail-on error); warnings are reported above.
  if(NOT status EQUAL 0 OR out MATCHES "(^|\n)E: ")
    message(FATAL_ERROR "lintian found errors")
  endif()
  return()
endif()

if(NOT STEP STREQUAL "install")
  message(FATAL_ERROR "unknown STEP '${STEP}'")
endif()

file(REMOVE_RECURSE ${ROOT})
file(MAKE_DIRECTORY ${ROOT})
set(names "")
foreach(deb IN LISTS debs)
  run(dpkg-deb -x ${deb} ${ROOT})
  run(dpkg-deb -f ${deb} Package)
  string(STRIP "${run_output}" name)
  list(APPEND names ${name})
  set(deb_${name} ${deb})
endforeach()
foreach(name IN LISTS PACKAGES)
  if(NOT name IN_LIST names)
    message(FATAL_ERROR "no package ${name} among ${names}")
  endif()
endforeach()

# Every dependency is one of these packages at exactly their version, or a package this
# system has (where the build's own libraries came from).
run(dpkg-deb -f ${deb_liblindrel1} Version)
string(STRIP "${run_output}" version)
if(NOT version MATCHES "${VERSION_RE}")
  message(FATAL_ERROR "liblindrel1 has version '${version}'")
endif()
foreach(name IN LISTS names)
  run(dpkg-deb -f ${deb_${name}} Version Depends Architecture)
  if(NOT run_output MATCHES "Version: ${version}\n")
    message(FATAL_ERROR "${name}: not version ${version}:\n${run_output}")
  endif()
  string(REGEX MATCH "Depends: ([^\n]*)" _ "${run_output}")
  string(REPLACE "," ";" clauses "${CMAKE_MATCH_1}")
  foreach(clause IN LISTS clauses)
    string(REGEX MATCH "^ *([a-z0-9.+-]+)( \\(([<>=]+) ([^)]+)\\))?" _ "${clause}")
    set(dep ${CMAKE_MATCH_1})
    if(dep IN_LIST names)
      if(NOT CMAKE_MATCH_3 STREQUAL "=" OR NOT CMAKE_MATCH_4 STREQUAL version)
        message(FATAL_ERROR "${name} depends on '${clause}', not on exactly ${version}")
      endif()
    else()
      execute_process(COMMAND dpkg-query -W -f=\${Status} ${dep}
                      OUTPUT_VARIABLE status ERROR_QUIET)
      if(NOT status MATCHES "install ok installed")
        message(FATAL_ERROR "${name} depends on '${clause}', which no package here provides")
      endif()
    endif()
  endforeach()
endforeach()
foreach(pair "lindrel:liblindrel1" "liblindrel-widgets1:liblindrel1"
             "liblindrel-dev:liblindrel1" "liblindrel-dev:liblindrel-widgets1"
             "lindrel-demo:liblindrel-widgets1" "lindrel-designer-plugin:liblindrel-widgets1")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 dep)
  run(dpkg-deb -f ${deb_${name}} Depends)
  if(NOT run_output MATCHES "(^| )${dep} \\(= ${version}\\)")
    message(FATAL_ERROR "${name} does not depend on ${dep} (= ${version}): ${run_output}")
  endif()
endforeach()

# The libraries: SONAME matching the package name, and the shlibs file that lets other
# packages depend on them.
set(libdir usr/${LIBDIR})
foreach(lib "liblindrel:liblindrel1" "liblindrel_widgets:liblindrel-widgets1")
  string(REPLACE ":" ";" lib "${lib}")
  list(GET lib 0 base)
  list(GET lib 1 package)
  expect_file(${libdir}/${base}.so.1)
  run(objdump -p ${ROOT}/${libdir}/${base}.so.1)
  if(NOT run_output MATCHES "SONAME +${base}\\.so\\.1\n")
    message(FATAL_ERROR "${base}: no SONAME ${base}.so.1")
  endif()
  run(dpkg-deb -I ${deb_${package}} shlibs)
  if(NOT run_output MATCHES "^${base} 1 ${package} \\(>= ${version}\\)")
    message(FATAL_ERROR "${package}: shlibs file reads '${run_output}'")
  endif()
  expect_file(${libdir}/${base}.so)  # the development link
  run(dpkg-deb -c ${deb_liblindrel-dev})
  if(NOT run_output MATCHES "/${base}\\.so -> ${base}\\.so\\.1")
    message(FATAL_ERROR "liblindrel-dev lacks the link ${base}.so")
  endif()
endforeach()

# No packaged program, library or plugin carries a search path of its own, and none is
# left with debugging symbols.
file(GLOB_RECURSE files LIST_DIRECTORIES false ${ROOT}/*)
foreach(file IN LISTS files)
  if(IS_SYMLINK ${file})
    continue()
  endif()
  file(READ ${file} magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    run(readelf -d -S ${file})
    if(run_output MATCHES "RPATH|RUNPATH|\\.debug_info")
      message(FATAL_ERROR "${file} keeps a search path or debugging symbols")
    endif()
  endif()
endforeach()

# The command and its man page.
expect_file(usr/bin/lindrel)
expect_file(usr/share/man/man1/lindrel.1.gz)
run(gzip -t ${ROOT}/usr/share/man/man1/lindrel.1.gz)
set(ENV{LD_LIBRARY_PATH} ${ROOT}/${libdir})
file(MAKE_DIRECTORY ${WORK}/home ${WORK}/tmp)
set(ENV{LINDREL_HOME} ${WORK}/home)
set(ENV{TMPDIR} ${WORK}/tmp)
run(${ROOT}/usr/bin/lindrel --version)
if(NOT run_output MATCHES "^lindrel [0-9]+\\.[0-9]+\\.[0-9]+")
  message(FATAL_ERROR "unexpected version text: ${run_output}")
endif()
file(WRITE ${WORK}/master.txt "a\nb\nc\n")
file(WRITE ${WORK}/source.txt "a\nx\nc\n")
execute_process(COMMAND ${ROOT}/usr/bin/lindrel files --format records
                        ${WORK}/master.txt ${WORK}/source.txt
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT out STREQUAL "c 2 2 2 2\n")
  message(FATAL_ERROR "packaged lindrel: status ${status}, output '${out}', errors '${err}'")
endif()

# The desktop program: its entry passes Debian's validator and names the icon and the
# program the package holds; the help pages sit where the program looks for them.
set(entry usr/share/applications/lindrel-demo.desktop)
expect_file(${entry})
run(desktop-file-validate ${ROOT}/${entry})
if(run_output MATCHES "error:")
  message(FATAL_ERROR "desktop-file-validate: ${run_output}")
endif()
message("desktop-file-validate: ${run_output}")
file(STRINGS ${ROOT}/${entry} lines REGEX "^(Exec|Icon)=")
foreach(line IN LISTS lines)
  if(line MATCHES "^Exec=([^ ]+)")
    expect_file(usr/bin/${CMAKE_MATCH_1})
  elseif(line MATCHES "^Icon=(.+)")
    expect_file(usr/share/icons/hicolor/scalable/apps/${CMAKE_MATCH_1}.svg)
  endif()
endforeach()
expect_file(usr/share/lindrel/help/LindrelDemo.html)
set(ENV{QT_QPA_PLATFORM} offscreen)
run(${ROOT}/usr/bin/LindrelDemo --help)

# The Designer plugin, where Designer looks: a collection of custom widgets whose
# libraries all resolve. (Loading it into a program is the form consumer's part.)
set(plugin ${ROOT}/usr/${DESIGNERDIR}/liblindrel_designer.so)
expect_file(usr/${DESIGNERDIR}/liblindrel_designer.so)
run(${QTPLUGININFO} ${plugin})
if(NOT run_output MATCHES "IID \"org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface\"")
  message(FATAL_ERROR "qtplugininfo: ${run_output}")
endif()
run(ldd ${plugin})
if(run_output MATCHES "not found")
  message(FATAL_ERROR "the plugin's libraries do not resolve:\n${run_output}")
endif()

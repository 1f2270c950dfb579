# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the staged files before it builds the Debian
# packages; does what Debian's packaging helpers would:
#  - manual pages are compressed with gzip -9n;
#  - programs, libraries and plugins lose their library search path: installed for the
#    prefix /usr they find the libraries of these packages in the system's library
#    folder, where Debian forbids a search path of their own.
file(GLOB_RECURSE _staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(_file IN LISTS _staged)
  if(IS_SYMLINK "${_file}")
    continue()
  endif()
  if(_file MATCHES "/share/man/man[1-9]/[^/]+\\.[1-9]$")
    execute_process(COMMAND gzip -9n "${_file}" RESULT_VARIABLE _status)
    if(NOT _status EQUAL 0)
      message(FATAL_ERROR "could not compress ${_file}")
    endif()
    continue()
  endif()
  file(READ "${_file}" _magic LIMIT 4 HEX)
  if(_magic STREQUAL "7f454c46")  # ELF
    file(RPATH_REMOVE FILE "${_file}")
  endif()
endforeach()

# Run by cpack once the files are staged and before they are packed. Debian
# keeps manual pages compressed with gzip -9n (no name, no time stamp, so the
# same page gives the same bytes); man reads them either way, and
# `cmake --install` leaves them as they are.
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_DIRECTORY}/*/share/man/man[1-9]/*.[1-9]")
foreach(page IN LISTS pages)
  execute_process(COMMAND gzip -9n "${page}" RESULT_VARIABLE compressed ERROR_VARIABLE said)
  if(NOT compressed EQUAL 0)
    message(FATAL_ERROR "gzip ${page}: ${said}")
  endif()
endforeach()

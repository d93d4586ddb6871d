# Read by cpack for each generator it runs. Without dpkg-shlibdeps CPack
# quietly writes a package whose Depends is empty, which installs and then
# fails to start on a machine without Qt 6; without `file` it cannot tell the
# programs from the other files. Both stop the build of the package instead.
if(CPACK_GENERATOR STREQUAL "DEB")
  foreach(tool dpkg-shlibdeps file)
    find_program(tool_path_${tool} ${tool})
    if(NOT tool_path_${tool})
      message(FATAL_ERROR "The Debian package needs ${tool} (tools/install-deps.sh installs it)")
    endif()
  endforeach()
endif()

# Installs the build in BUILD_DIR into PREFIX and checks the layout a desktop
# expects: the programs, the menu entry, the icon and the manual page, and
# nothing else. Run as: cmake -D BUILD_DIR=... -D PREFIX=... -D WITH_GUI=ON|OFF -P CheckInstallLayout.cmake
cmake_minimum_required(VERSION 3.25)

function(Fail)
  string(JOIN "" message ${ARGN})
  message(FATAL_ERROR "${message}")
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT installed EQUAL 0)
  Fail("cmake --install failed:\n" "${log}")
endif()

# Exactly these files, so a misplaced or stray one shows too.
set(expected
  bin/maravelundi-cli
  share/applications/maravelundi.desktop
  share/icons/hicolor/scalable/apps/maravelundi.svg
  share/man/man1/maravelundi-cli.1)
if(WITH_GUI)
  list(APPEND expected bin/maravelundi)
endif()
file(GLOB_RECURSE found RELATIVE "${PREFIX}" LIST_DIRECTORIES false "${PREFIX}/*")
list(SORT expected)
list(SORT found)
if(NOT found STREQUAL expected)
  Fail("installed files:\n  " "${found}" "\nexpected:\n  " "${expected}")
endif()

# The installed converter runs; its options are what the manual page must describe.
execute_process(COMMAND "${PREFIX}/bin/maravelundi-cli" --help RESULT_VARIABLE ran OUTPUT_VARIABLE help)
if(NOT ran EQUAL 0)
  Fail("the installed maravelundi-cli --help failed: " "${ran}")
endif()

file(READ "${PREFIX}/share/applications/maravelundi.desktop" entry)
if(NOT entry MATCHES "^\\[Desktop Entry\\]\n")
  Fail("maravelundi.desktop does not begin with its [Desktop Entry] group")
endif()
foreach(line "Type=Application" "Name=Maravelundi" "Exec=maravelundi" "Icon=maravelundi" "Terminal=false"
             "Categories=Office;TextTools;Utility;")
  if(NOT entry MATCHES "\n${line}\n")
    Fail("maravelundi.desktop lacks the line " "${line}")
  endif()
endforeach()
if(NOT entry MATCHES "\nComment=[^\n]+\n")
  Fail("maravelundi.desktop has no Comment")
endif()

file(READ "${PREFIX}/share/icons/hicolor/scalable/apps/maravelundi.svg" icon)
if(NOT icon MATCHES "<svg [^>]*xmlns=\"http://www.w3.org/2000/svg\"" OR NOT icon MATCHES "</svg>\n?$")
  Fail("maravelundi.svg is not an SVG document")
endif()

set(manual "${PREFIX}/share/man/man1/maravelundi-cli.1")
file(READ "${manual}" page)
if(page MATCHES "@[A-Z_]+@")
  Fail("maravelundi-cli.1 has an unfilled placeholder")
endif()
foreach(section NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES)
  if(NOT page MATCHES "\n\\.SH ${section}\n")
    Fail("maravelundi-cli.1 has no " "${section}" " section")
  endif()
endforeach()
string(REGEX MATCHALL "(^|[ ,])--?[a-z][a-z-]*" options "${help}")
foreach(option IN LISTS options)
  string(REGEX REPLACE "^[ ,]" "" option "${option}")
  string(REPLACE "-" "\\-" roff "${option}")
  string(FIND "${page}" "${roff}" at)
  if(at EQUAL -1)
    Fail("maravelundi-cli.1 does not describe " "${option}" " (spelled " "${roff}" ")")
  endif()
endforeach()

# The tools that know the formats best, where they are installed.
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/maravelundi.desktop"
                  RESULT_VARIABLE valid OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(NOT valid EQUAL 0 OR said MATCHES "error:")
    Fail("desktop-file-validate: " "${said}")
  endif()
endif()
find_program(XMLLINT xmllint)
if(XMLLINT)
  execute_process(COMMAND "${XMLLINT}" --noout "${PREFIX}/share/icons/hicolor/scalable/apps/maravelundi.svg"
                  RESULT_VARIABLE valid ERROR_VARIABLE said)
  if(NOT valid EQUAL 0)
    Fail("xmllint: " "${said}")
  endif()
endif()
find_program(GROFF groff)
if(GROFF)
  execute_process(COMMAND "${GROFF}" -man -Tutf8 -ww -z "${manual}" RESULT_VARIABLE valid ERROR_VARIABLE said)
  if(NOT valid EQUAL 0 OR NOT said STREQUAL "")
    Fail("groff warns about maravelundi-cli.1:\n" "${said}")
  endif()
endif()

file(REMOVE_RECURSE "${PREFIX}")

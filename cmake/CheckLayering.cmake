# Fails when a source file of one layer includes a header of a layer it may
# not see. Run at build time, once per layer, whenever that layer's files
# change:
#   cmake -D LAYER=unicode -D ALLOWED="richtext" -D DIR=src -P CheckLayering.cmake
cmake_minimum_required(VERSION 3.25)
set(known_layers richtext fileio transcode ism unicode convert cli app)
file(GLOB sources "${DIR}/${LAYER}/*.h" "${DIR}/${LAYER}/*.cpp")
set(violations "")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([a-z]+)/.*$" "\\1" included "${line}")
    if(included IN_LIST known_layers AND NOT included STREQUAL LAYER AND NOT included IN_LIST ALLOWED)
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
      file(RELATIVE_PATH shown "${DIR}" "${source}")
      list(APPEND violations "  ${shown} includes ${header}")
    endif()
  endforeach()
endforeach()
if(violations)
  list(JOIN violations "\n" text)
  message(FATAL_ERROR "The ${LAYER} layer sees only ${LAYER} and: ${ALLOWED}\n${text}")
endif()

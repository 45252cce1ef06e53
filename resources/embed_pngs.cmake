# Writes a C++ source holding every image of images.cmake as a byte array and
# a table of ids, for the lookup in raster/resources_posix.cpp:
#   cmake -DOUTPUT=<file.cpp> -P embed_pngs.cmake
# or, for the Windows build, a resource script listing the same images with
# the type "PNG" (absolute paths, so it can live in the build folder):
#   cmake -DRC_OUTPUT=<file.rc> -P embed_pngs.cmake

include(${CMAKE_CURRENT_LIST_DIR}/images.cmake)

if(DEFINED RC_OUTPUT)
  set(lines "// Generated from resources/images.cmake; do not edit.\nLANGUAGE 9, 1\n")
  list(LENGTH TESSAPHON_PNG_RESOURCES count)
  set(index 0)
  while(index LESS count)
    list(GET TESSAPHON_PNG_RESOURCES ${index} id)
    math(EXPR next "${index} + 1")
    list(GET TESSAPHON_PNG_RESOURCES ${next} name)
    string(APPEND lines "${id} PNG \"${CMAKE_CURRENT_LIST_DIR}/${name}\"\n")
    math(EXPR index "${index} + 2")
  endwhile()
  file(CONFIGURE OUTPUT ${RC_OUTPUT} CONTENT "${lines}" @ONLY)
  return()
endif()

set(arrays "")
set(entries "")
list(LENGTH TESSAPHON_PNG_RESOURCES count)
math(EXPR pairs "${count} / 2")
set(index 0)
while(index LESS count)
  list(GET TESSAPHON_PNG_RESOURCES ${index} id)
  math(EXPR next "${index} + 1")
  list(GET TESSAPHON_PNG_RESOURCES ${next} name)
  file(READ ${CMAKE_CURRENT_LIST_DIR}/${name} hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR size "${hexLength} / 2")
  # One "0xNN," per byte, with a line break every 16 bytes.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REPEAT "0x..," 16 sixteen)
  string(REGEX REPLACE "(${sixteen})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "// ${name}\nconst std::uint8_t kPng${id}[] = {\n    ${bytes}\n};\n\n")
  string(APPEND entries "    {${id}, kPng${id}, ${size}},\n")
  math(EXPR index "${index} + 2")
endwhile()

if(pairs EQUAL 0)
  set(table "const EmbeddedPng kEmbeddedPngs[] = {{0, nullptr, 0}};\nconst std::size_t kEmbeddedPngCount = 0;\n")
else()
  set(table "const EmbeddedPng kEmbeddedPngs[] = {\n${entries}};\nconst std::size_t kEmbeddedPngCount = ${pairs};\n")
endif()

set(content "// Generated from resources/images.cmake; do not edit.\n#include \"raster/embedded_resources.h\"\n\nnamespace {\n\n${arrays}}  // namespace\n\n${table}")
file(CONFIGURE OUTPUT ${OUTPUT} CONTENT "${content}" @ONLY)

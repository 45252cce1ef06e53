# Windows resources: the PNG images listed in resources/images.cmake (pairs of
# id and file name), compiled by windres as resources of type "PNG" into the
# targets given. One list serves both systems; Linux embeds the same images.
include(${PROJECT_SOURCE_DIR}/resources/images.cmake)

set(rc_file "${PROJECT_BINARY_DIR}/resources/images.rc")
set(rc_text "// Made from resources/images.cmake; do not edit.\nLANGUAGE 9, 1\n")
set(png_files "")
list(LENGTH TESSAPHON_PNG_RESOURCES png_count)
set(png_index 0)
while(png_index LESS png_count)
  math(EXPR name_index "${png_index} + 1")
  list(GET TESSAPHON_PNG_RESOURCES ${png_index} png_id)
  list(GET TESSAPHON_PNG_RESOURCES ${name_index} png_name)
  # Absolute paths: windres would look for relative ones next to the script.
  set(png_path "${PROJECT_SOURCE_DIR}/resources/${png_name}")
  string(APPEND rc_text "${png_id} PNG \"${png_path}\"\n")
  list(APPEND png_files "${png_path}")
  math(EXPR png_index "${png_index} + 2")
endwhile()
file(CONFIGURE OUTPUT "${rc_file}" CONTENT "${rc_text}" @ONLY)
set_property(GLOBAL PROPERTY TESSAPHON_RESOURCE_SCRIPT "${rc_file}")
set_property(GLOBAL PROPERTY TESSAPHON_RESOURCE_IMAGES "${png_files}")

# Resource objects define no symbols, so they go into each linked binary
# directly: from a static library the linker would never take them.
function(tessaphon_add_png_resources target)
  get_property(script GLOBAL PROPERTY TESSAPHON_RESOURCE_SCRIPT)
  get_property(images GLOBAL PROPERTY TESSAPHON_RESOURCE_IMAGES)
  # The build tools do not see the images behind the script. Source file
  # properties belong to a folder, so this is set where the target is.
  set_source_files_properties("${script}" PROPERTIES OBJECT_DEPENDS "${images}")
  target_sources(${target} PRIVATE "${script}")
endfunction()

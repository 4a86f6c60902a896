# Turns the program's SVG drawings into PNG pictures at build time, with
# rsvg-convert from the Debian package librsvg2-bin.
include_guard(GLOBAL)

find_program(QUORVENO_RSVG_CONVERT rsvg-convert REQUIRED)

# quorveno_render_svg(<svg> <png> <size>)
#
# Adds a build rule that draws <svg> as a square PNG of <size> x <size> pixels
# at <png>. A relative <svg> is taken from the current source directory, a
# relative <png> from the current binary directory. The rule runs when a target
# of the same directory uses <png>: as a source, a dependency of a custom
# command or target (add_custom_target(<name> ALL DEPENDS <png>)), or a file
# listed in a .qrc given to qt_add_resources().
function(quorveno_render_svg svg png size)
  if(NOT size MATCHES "^[1-9][0-9]*$")
    message(FATAL_ERROR "quorveno_render_svg: size must be a whole number of pixels, got '${size}'")
  endif()
  cmake_path(ABSOLUTE_PATH svg BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}"
             OUTPUT_VARIABLE svg_path)
  cmake_path(ABSOLUTE_PATH png BASE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
             OUTPUT_VARIABLE png_path)
  cmake_path(GET png_path PARENT_PATH png_dir)
  add_custom_command(
    OUTPUT "${png_path}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${png_dir}"
    COMMAND "${QUORVENO_RSVG_CONVERT}" --width ${size} --height ${size}
            --output "${png_path}" "${svg_path}"
    DEPENDS "${svg_path}"
    COMMENT "Drawing ${svg} at ${size} x ${size}"
    VERBATIM)
endfunction()

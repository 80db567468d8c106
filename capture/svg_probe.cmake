# ondrel_svg_probe: measures SVG drawings. nanosvg does the reading when
# ONDREL_NANOSVG_DIR names its folder; otherwise the built-in reader does.
if(ONDREL_NANOSVG_DIR)
  if(NOT EXISTS "${ONDREL_NANOSVG_DIR}/nanosvg.h")
    message(FATAL_ERROR "ONDREL_NANOSVG_DIR is set to '${ONDREL_NANOSVG_DIR}', which holds no nanosvg.h")
  endif()
  set(ondrel_svg_reader ${CMAKE_CURRENT_LIST_DIR}/svg_dimensions_nanosvg.cc)
else()
  set(ondrel_svg_reader
    ${CMAKE_CURRENT_LIST_DIR}/svg_dimensions_builtin.cc
    ${CMAKE_CURRENT_LIST_DIR}/xml_scanning.cc
    ${CMAKE_CURRENT_LIST_DIR}/entity_decoding.cc
    ${CMAKE_CURRENT_LIST_DIR}/number_parsing.cc)
endif()

add_library(ondrel_svg_probe STATIC
  ${CMAKE_CURRENT_LIST_DIR}/svg_size_probe.cc
  ${ondrel_svg_reader})
target_include_directories(ondrel_svg_probe PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
if(ONDREL_NANOSVG_DIR)
  # SYSTEM keeps the third-party header's own warnings out of the build log.
  target_include_directories(ondrel_svg_probe SYSTEM PRIVATE ${ONDREL_NANOSVG_DIR})
endif()

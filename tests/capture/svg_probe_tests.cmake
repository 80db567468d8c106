ondrel_add_test(ondrel_svg_probe_tests ${CMAKE_CURRENT_LIST_DIR}/svg_size_probe_test.cc)
target_link_libraries(ondrel_svg_probe_tests PRIVATE ondrel_svg_probe)
# The built-in reader's own rules are only checked when it is the one built.
if(ONDREL_NANOSVG_DIR)
  target_compile_definitions(ondrel_svg_probe_tests PRIVATE ONDREL_SVG_READER_NANOSVG=1)
else()
  target_compile_definitions(ondrel_svg_probe_tests PRIVATE ONDREL_SVG_READER_NANOSVG=0)
  # Its pieces, tested on their own where rounding to whole pixels hides faults.
  target_sources(ondrel_svg_probe_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/entity_decoding_test.cc
    ${CMAKE_CURRENT_LIST_DIR}/number_parsing_test.cc)
endif()

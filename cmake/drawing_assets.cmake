# The scripts, style sheets and fonts with which Markdown pages draw code, math and diagrams
# (capture/staging/drawing_assets.h), copied from their npm packages, which
# scripts/fetch-drawing-assets.sh installs, into ondrel-assets/ beside the module, with their
# licence files; the package carries the folder. Without the packages the build goes on, and
# pages then show their code, math and diagrams as text.
set(ONDREL_DRAWING_PACKAGES "${PROJECT_SOURCE_DIR}/build/drawing-assets/node_modules"
  CACHE PATH "node_modules of scripts/fetch-drawing-assets.sh")
set(ONDREL_DRAWING_ASSETS_DIR "${CMAKE_BINARY_DIR}/plugin/ondrel-assets")

include(${CMAKE_CURRENT_LIST_DIR}/drawing_asset_files.cmake)

set(ONDREL_HAS_DRAWING_ASSETS FALSE)
if(EXISTS "${ONDREL_DRAWING_PACKAGES}/katex/package.json")
  set(ONDREL_HAS_DRAWING_ASSETS TRUE)
else()
  message(WARNING "ondrel: no drawing assets in ${ONDREL_DRAWING_PACKAGES}: Markdown pages will "
                  "show code, math and diagrams as text; run scripts/fetch-drawing-assets.sh")
endif()

# The target ondrel_drawing_assets copies them when they are there.
function(ondrel_add_drawing_assets)
  set(outputs "")
  set(commands "")
  foreach(entry IN LISTS ONDREL_DRAWING_ASSET_FILES)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 folder)
    list(GET entry 1 file)
    cmake_path(GET file FILENAME name)
    set(from "${ONDREL_DRAWING_PACKAGES}/${file}")
    set(to "${ONDREL_DRAWING_ASSETS_DIR}/${folder}/${name}")
    add_custom_command(OUTPUT "${to}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${ONDREL_DRAWING_ASSETS_DIR}/${folder}"
      COMMAND ${CMAKE_COMMAND} -E copy "${from}" "${to}"
      DEPENDS "${from}" VERBATIM)
    list(APPEND outputs "${to}")
  endforeach()
  # KaTeX's style sheet finds its fonts in the folder beside it.
  set(fonts "${ONDREL_DRAWING_ASSETS_DIR}/katex/fonts.stamp")
  file(GLOB font_files "${ONDREL_DRAWING_PACKAGES}/katex/dist/fonts/*")
  add_custom_command(OUTPUT "${fonts}"
    COMMAND ${CMAKE_COMMAND} -E copy_directory "${ONDREL_DRAWING_PACKAGES}/katex/dist/fonts"
            "${ONDREL_DRAWING_ASSETS_DIR}/katex/fonts"
    COMMAND ${CMAKE_COMMAND} -E touch "${fonts}"
    DEPENDS ${font_files} VERBATIM)
  list(APPEND outputs "${fonts}")
  # mermaid.min.js carries the code of the packages it is built from: their licences go with it.
  set(licenses "${ONDREL_DRAWING_ASSETS_DIR}/mermaid/LICENSES.txt")
  add_custom_command(OUTPUT "${licenses}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${ONDREL_DRAWING_ASSETS_DIR}/mermaid"
    COMMAND ${CMAKE_COMMAND} -DPACKAGES=${ONDREL_DRAWING_PACKAGES} -DOUTPUT=${licenses}
            -P ${PROJECT_SOURCE_DIR}/cmake/bundled-licenses.cmake
    DEPENDS "${ONDREL_DRAWING_PACKAGES}/.package-lock.json"
            ${PROJECT_SOURCE_DIR}/cmake/bundled-licenses.cmake VERBATIM)
  list(APPEND outputs "${licenses}")
  add_custom_target(ondrel_drawing_assets ALL DEPENDS ${outputs})
  install(DIRECTORY "${ONDREL_DRAWING_ASSETS_DIR}" DESTINATION . PATTERN "*.stamp" EXCLUDE)
endfunction()

if(ONDREL_HAS_DRAWING_ASSETS)
  ondrel_add_drawing_assets()
endif()

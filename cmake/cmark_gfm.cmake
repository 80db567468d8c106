# cmark-gfm 0.29.0.gfm.6 (BSD-2-Clause and MIT), GitHub's own Markdown parser and HTML renderer,
# with its core extensions, as one target for every build: ondrel::cmark_gfm links the parser and
# the extensions library and carries the folders of cmark-gfm.h and cmark-gfm-core-extensions.h.
#
# Every build links the library statically, so that the module holds a copy of its own: the
# library keeps state of the whole process (the list of registered extensions, a table of
# characters its parser marks), which the module sets up and releases as it is loaded and
# unloaded, and which must never be another library user's in the same process.
#
# Native builds (native, sanitize, tsan, fuzz) link the static archives of Debian's
# libcmark-gfm-dev and libcmark-gfm-extensions-dev, and keep their symbols out of the module's
# exports.
#
# The Windows module may import system DLLs only, and the cross build compiles the library's C
# sources from Debian's source tarball into static libraries with the MinGW compiler, keeping
# the toolchain, the build type and the -static link of the rest of the build. Upstream's CMake
# project adds only four generated headers to those sources, which are made here the way it
# makes them. scripts/fetch-cmark-gfm-source.sh fetches the tarball.

set(ONDREL_CMARK_GFM_VERSION 0.29.0.gfm.6)
# Errors below start with a space, which keeps CMake from wrapping them: each stays one line.

function(ondrel_cmark_gfm_from_debian_package)
  find_path(ONDREL_CMARK_GFM_INCLUDE cmark-gfm_version.h)
  find_path(ONDREL_CMARK_GFM_EXTENSIONS_INCLUDE cmark-gfm-core-extensions.h)
  find_library(ONDREL_CMARK_GFM_ARCHIVE libcmark-gfm.a)
  find_library(ONDREL_CMARK_GFM_EXTENSIONS_ARCHIVE libcmark-gfm-extensions.a)
  set(version "")
  if(ONDREL_CMARK_GFM_INCLUDE)
    file(STRINGS "${ONDREL_CMARK_GFM_INCLUDE}/cmark-gfm_version.h" version
         REGEX "define CMARK_GFM_VERSION_STRING")
  endif()
  if(NOT version MATCHES "\"${ONDREL_CMARK_GFM_VERSION}\"" OR NOT ONDREL_CMARK_GFM_ARCHIVE
     OR NOT ONDREL_CMARK_GFM_EXTENSIONS_INCLUDE OR NOT ONDREL_CMARK_GFM_EXTENSIONS_ARCHIVE)
    message(FATAL_ERROR " cmark-gfm ${ONDREL_CMARK_GFM_VERSION} (libcmark-gfm-dev and libcmark-gfm-extensions-dev) is missing: run scripts/install-dependencies.sh")
  endif()
  add_library(cmark-gfm STATIC IMPORTED GLOBAL)
  set_target_properties(cmark-gfm PROPERTIES
    IMPORTED_LOCATION "${ONDREL_CMARK_GFM_ARCHIVE}"
    INTERFACE_INCLUDE_DIRECTORIES "${ONDREL_CMARK_GFM_INCLUDE}"
    INTERFACE_LINK_OPTIONS "LINKER:--exclude-libs,libcmark-gfm.a:libcmark-gfm-extensions.a")
  add_library(cmark-gfm-extensions STATIC IMPORTED GLOBAL)
  set_target_properties(cmark-gfm-extensions PROPERTIES
    IMPORTED_LOCATION "${ONDREL_CMARK_GFM_EXTENSIONS_ARCHIVE}"
    INTERFACE_INCLUDE_DIRECTORIES "${ONDREL_CMARK_GFM_EXTENSIONS_INCLUDE}"
    INTERFACE_LINK_LIBRARIES cmark-gfm)
  add_library(ondrel::cmark_gfm ALIAS cmark-gfm-extensions)
endfunction()

# The tarball must be the one Debian ships, whoever put it there.
function(ondrel_cmark_gfm_check_tarball tarball)
  if(NOT EXISTS "${tarball}")
    message(FATAL_ERROR " cmark-gfm's source ${tarball} is missing: run scripts/fetch-cmark-gfm-source.sh")
  endif()
  file(SHA256 "${tarball}" digest)
  if(NOT digest STREQUAL "b17d86164c0822b5db3818780b44cb130ff30e9c6ec6a64f199b6d142684dba0")
    message(FATAL_ERROR " ${tarball} is not Debian's cmark-gfm ${ONDREL_CMARK_GFM_VERSION} source: remove it and run scripts/fetch-cmark-gfm-source.sh")
  endif()
endfunction()

# What upstream's CMake project generates: the feature header, the version header and the two
# export headers, for static libraries that export nothing.
function(ondrel_cmark_gfm_generated_headers source_dir generated_dir)
  set(HAVE_STDBOOL_H ON)
  set(HAVE___BUILTIN_EXPECT ON)
  set(HAVE___ATTRIBUTE__ ON)
  configure_file("${source_dir}/src/config.h.in" "${generated_dir}/config.h")
  string(REGEX MATCH "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.gfm\\.([0-9]+)$" version
               "${ONDREL_CMARK_GFM_VERSION}")
  set(PROJECT_VERSION_MAJOR ${CMAKE_MATCH_1})
  set(PROJECT_VERSION_MINOR ${CMAKE_MATCH_2})
  set(PROJECT_VERSION_PATCH ${CMAKE_MATCH_3})
  set(PROJECT_VERSION_GFM ${CMAKE_MATCH_4})
  configure_file("${source_dir}/src/cmark-gfm_version.h.in" "${generated_dir}/cmark-gfm_version.h")
endfunction()

function(ondrel_cmark_gfm_from_source)
  cmake_path(ABSOLUTE_PATH CMAKE_BINARY_DIR NORMALIZE OUTPUT_VARIABLE build_dir)
  cmake_path(GET build_dir PARENT_PATH build_root)
  set(ONDREL_CMARK_GFM_TARBALL
      "${build_root}/cmark-gfm-source/cmark-gfm_${ONDREL_CMARK_GFM_VERSION}.orig.tar.gz"
      CACHE FILEPATH "cmark-gfm's source tarball from Debian, compiled into the Windows build")
  ondrel_cmark_gfm_check_tarball("${ONDREL_CMARK_GFM_TARBALL}")

  set(top "cmark-gfm-${ONDREL_CMARK_GFM_VERSION}")
  set(source_dir "${CMAKE_BINARY_DIR}/cmark-gfm/${top}")
  set(generated_dir "${CMAKE_BINARY_DIR}/cmark-gfm/generated")
  if(NOT EXISTS "${source_dir}/src/blocks.c")
    file(ARCHIVE_EXTRACT INPUT "${ONDREL_CMARK_GFM_TARBALL}" DESTINATION "${CMAKE_BINARY_DIR}/cmark-gfm"
         PATTERNS "${top}/src/*" "${top}/extensions/*" "${top}/COPYING")
  endif()
  ondrel_cmark_gfm_generated_headers("${source_dir}" "${generated_dir}")

  # The library sources of upstream's src/CMakeLists.txt and extensions/CMakeLists.txt.
  set(parser_sources
    arena.c blocks.c buffer.c cmark.c cmark_ctype.c commonmark.c footnotes.c houdini_href_e.c
    houdini_html_e.c houdini_html_u.c html.c inlines.c iterator.c latex.c linked_list.c man.c
    map.c node.c plaintext.c plugin.c references.c registry.c render.c scanners.c
    syntax_extension.c utf8.c xml.c)
  list(TRANSFORM parser_sources PREPEND "${source_dir}/src/")
  set(extension_sources
    autolink.c core-extensions.c ext_scanners.c strikethrough.c table.c tagfilter.c tasklist.c)
  list(TRANSFORM extension_sources PREPEND "${source_dir}/extensions/")

  add_library(cmark-gfm STATIC ${parser_sources})
  add_library(cmark-gfm-extensions STATIC ${extension_sources})
  target_link_libraries(cmark-gfm-extensions PUBLIC cmark-gfm)
  include(GenerateExportHeader)
  generate_export_header(cmark-gfm BASE_NAME cmark-gfm
                         EXPORT_FILE_NAME "${generated_dir}/cmark-gfm_export.h")
  generate_export_header(cmark-gfm-extensions BASE_NAME cmark-gfm-extensions
                         EXPORT_FILE_NAME "${generated_dir}/cmark-gfm-extensions_export.h")
  target_compile_definitions(cmark-gfm PUBLIC CMARK_GFM_STATIC_DEFINE)
  target_compile_definitions(cmark-gfm-extensions PUBLIC CMARK_GFM_EXTENSIONS_STATIC_DEFINE)
  target_include_directories(cmark-gfm SYSTEM PUBLIC "${source_dir}/src" "${generated_dir}")
  target_include_directories(cmark-gfm-extensions SYSTEM PUBLIC "${source_dir}/extensions")
  foreach(library cmark-gfm cmark-gfm-extensions)
    # Compiled as published: their warnings are upstream's business. Unwind tables let an
    # allocation failure, raised as a C++ exception by ondrel's allocator, pass their frames.
    target_compile_options(${library} PRIVATE -w -fexceptions)
  endforeach()
  add_library(ondrel::cmark_gfm ALIAS cmark-gfm-extensions)
  # The module carries cmark-gfm's code, so its package carries cmark-gfm's licence: the
  # third-party notices take it from here (cmake/third_party_libraries.cmake).
  file(COPY_FILE "${source_dir}/COPYING" "${CMAKE_BINARY_DIR}/cmark-gfm/COPYING" ONLY_IF_DIFFERENT)
endfunction()

if(CMAKE_CROSSCOMPILING)
  ondrel_cmark_gfm_from_source()
else()
  ondrel_cmark_gfm_from_debian_package()
endif()

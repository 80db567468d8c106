# Every third-party library that a program of ondrel links, in one list: the
# build makes THIRD-PARTY-NOTICES.txt of it for the package
# (cmake/third-party-notices.cmake), and the test ondrel_third_party_notices
# fails when the linker's maps of the shipped programs name a library that is
# not here (cmake/check-third-party.cmake). Include it from a project or a script.
#
# ondrel_third_party(ID
#   NAME <what the user reads>
#   SHIPPED_IN <builds whose package carries it: native, windows; none for tests only>
#   HOW_native <how the Linux programs hold it>   HOW_windows <the same for Windows>
#   LINKED <regular expression over the full names of the files the linker takes>
#   PACKAGE <the Debian package whose version and licence file tell of it>
#   NPM <instead of PACKAGE: the npm package and version the page assets come from>
#   LICENSE <licence files, the first that exists wins; @BINARY_DIR@ is the build folder>)
# A library compiled from headers alone links no file and has no LINKED; the scripts that
# Markdown pages draw with are copied into ondrel-assets/ (cmake/drawing_assets.cmake) and
# link nothing either.

set(ONDREL_THIRD_PARTY "")
macro(ondrel_third_party id)
  cmake_parse_arguments(ONDREL_THIRD_PARTY_${id} ""
    "NAME;HOW_native;HOW_windows;LINKED;PACKAGE;NPM" "SHIPPED_IN;LICENSE" ${ARGN})
  list(APPEND ONDREL_THIRD_PARTY ${id})
endmacro()

ondrel_third_party(nlohmann_json
  NAME "nlohmann-json, JSON for Modern C++"
  SHIPPED_IN native windows
  HOW_native "compiled into the module and the tools from its headers"
  HOW_windows "compiled into the module and the tools from its headers"
  PACKAGE nlohmann-json3-dev
  LICENSE /usr/share/doc/nlohmann-json3-dev/copyright)

ondrel_third_party(cmark_gfm
  NAME "cmark-gfm, GitHub's Markdown parser and HTML renderer, with its extensions"
  SHIPPED_IN native windows
  HOW_native "compiled into the module and the tools from Debian's static libraries"
  HOW_windows "compiled into the module and the tools from its source"
  LINKED "/libcmark-gfm(-extensions)?\\.(a|so[.0-9]*)$"
  PACKAGE libcmark-gfm-dev
  LICENSE @BINARY_DIR@/cmark-gfm/COPYING
          /usr/share/doc/libcmark-gfm-dev/copyright)

ondrel_third_party(libspng
  NAME "libspng, a PNG decoder"
  SHIPPED_IN native
  HOW_native "linked by the module and the tools as Debian's shared library"
  LINKED "/libspng\\.(a|so[.0-9]*)$"
  PACKAGE libspng0
  LICENSE /usr/share/doc/libspng0/copyright /usr/share/doc/libspng-dev/copyright)

ondrel_third_party(gcc_runtime
  NAME "the GCC runtime libraries (libstdc++, libgcc)"
  SHIPPED_IN windows
  HOW_windows "compiled into every Windows program, which links them statically"
  LINKED "^/usr/lib/gcc/x86_64-w64-mingw32/"
  PACKAGE gcc-mingw-w64-x86-64-posix-runtime
  LICENSE /usr/share/doc/gcc-mingw-w64-base/copyright)

ondrel_third_party(mingw_w64_runtime
  NAME "the MinGW-w64 runtime (C runtime start-up and helpers, winpthreads)"
  SHIPPED_IN windows
  HOW_windows "compiled into every Windows program, which links it statically"
  LINKED "^/usr/x86_64-w64-mingw32/lib/"
  PACKAGE mingw-w64-x86-64-dev
  LICENSE /usr/share/doc/mingw-w64-x86-64-dev/copyright)

# The pages' assets: their licence files go into ondrel-assets/ beside the module too.
ondrel_third_party(highlight_js
  NAME "highlight.js, syntax highlighting for code blocks"
  SHIPPED_IN native windows
  HOW_native "copied into ondrel-assets/highlight.js/ beside the module"
  HOW_windows "copied into ondrel-assets/highlight.js/ beside the module"
  NPM "@highlightjs/cdn-assets 11.12.0"
  LICENSE @BINARY_DIR@/plugin/ondrel-assets/highlight.js/LICENSE)

ondrel_third_party(katex
  NAME "KaTeX, math typesetting, with its fonts"
  SHIPPED_IN native windows
  HOW_native "copied into ondrel-assets/katex/ beside the module"
  HOW_windows "copied into ondrel-assets/katex/ beside the module"
  NPM "katex 0.19.1"
  LICENSE @BINARY_DIR@/plugin/ondrel-assets/katex/LICENSE)

# Its script bundles the packages it is built from: LICENSES.txt holds its licence and theirs
# (cmake/bundled-licenses.cmake).
ondrel_third_party(mermaid
  NAME "Mermaid, diagrams from text, with the libraries its script bundles"
  SHIPPED_IN native windows
  HOW_native "copied into ondrel-assets/mermaid/ beside the module"
  HOW_windows "copied into ondrel-assets/mermaid/ beside the module"
  NPM "mermaid 12.4.0"
  LICENSE @BINARY_DIR@/plugin/ondrel-assets/mermaid/LICENSES.txt)

ondrel_third_party(googletest
  NAME "GoogleTest"
  SHIPPED_IN none
  LINKED "/libgtest(_main)?\\.(a|so[.0-9]*)$"
  PACKAGE libgtest-dev
  LICENSE /usr/share/doc/libgtest-dev/copyright)

# What the programs link that needs no notice: the system's own C and C++
# runtime on Linux, whose libraries the package does not carry.
set(ONDREL_SYSTEM_LIBRARIES_native
  "^/usr/lib/gcc/x86_64-linux-gnu/"
  "/(libc|libm|libmvec|libdl|libpthread|librt|libc_nonshared|libstdc\\+\\+|libgcc_s|ld-linux-x86-64)[.-][^/]*$"
  "/(S?crt1|crti|crtn)\\.o$")
set(ONDREL_SYSTEM_LIBRARIES_windows "")

# Where a library's notice says it came from, in `result`: "Debian package NAME" or "npm package
# NAME VERSION"; the Debian package's version follows it in the notices.
function(ondrel_third_party_source id result)
  if(ONDREL_THIRD_PARTY_${id}_NPM)
    set(${result} "npm package ${ONDREL_THIRD_PARTY_${id}_NPM}" PARENT_SCOPE)
  else()
    set(${result} "Debian package ${ONDREL_THIRD_PARTY_${id}_PACKAGE}" PARENT_SCOPE)
  endif()
endfunction()

# The first licence file of `id` that exists, in `result`; empty when none does.
function(ondrel_third_party_license id binary_dir result)
  foreach(candidate IN LISTS ONDREL_THIRD_PARTY_${id}_LICENSE)
    string(REPLACE "@BINARY_DIR@" "${binary_dir}" candidate "${candidate}")
    if(EXISTS "${candidate}")
      set(${result} "${candidate}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${result} "" PARENT_SCOPE)
endfunction()

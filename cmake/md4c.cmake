# md4c 0.4.8 (MIT), the Markdown parser and HTML renderer, as one target for every build:
# ondrel::md4c_html links md4c-html and md4c and carries the folder of md4c.h and md4c-html.h.
#
# Native builds (native, sanitize, tsan, fuzz) link Debian's shared libraries
# (libmd4c-html0-dev), found through pkg-config.
#
# The Windows module may import system DLLs only, so the cross build compiles md4c's three C
# sources from Debian's source tarball into static libraries with the MinGW compiler. Those
# three files are all there is to md4c; their build needs one definition, MD4C_USE_UTF8
# (md4c's default anyway). Compiling them here keeps the toolchain, the build type and the
# -static link of the rest of the build, where upstream's CMake project run as an external
# project would need the toolchain handed over, build shared libraries unless told otherwise
# and install before anything links. scripts/fetch-md4c-source.sh fetches the tarball.

set(ONDREL_MD4C_VERSION 0.4.8)
# Errors below start with a space, which keeps CMake from wrapping them: each stays one line.

function(ondrel_md4c_from_debian_package)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(ONDREL_MD4C QUIET IMPORTED_TARGET GLOBAL "md4c-html>=${ONDREL_MD4C_VERSION}")
  if(NOT ONDREL_MD4C_FOUND)
    message(FATAL_ERROR " md4c's HTML renderer (libmd4c-html0-dev ${ONDREL_MD4C_VERSION}) is missing: run scripts/install-dependencies.sh")
  endif()
  add_library(ondrel::md4c_html ALIAS PkgConfig::ONDREL_MD4C)
endfunction()

# The tarball must be the one Debian ships, whoever put it there.
function(ondrel_md4c_check_tarball tarball)
  if(NOT EXISTS "${tarball}")
    message(FATAL_ERROR " md4c's source ${tarball} is missing: run scripts/fetch-md4c-source.sh")
  endif()
  file(SHA256 "${tarball}" digest)
  if(NOT digest STREQUAL "4a457df853425b6bb6e3457aa1d1a13bccec587a04c38c622b1013a0da41439f")
    message(FATAL_ERROR " ${tarball} is not Debian's md4c ${ONDREL_MD4C_VERSION} source: remove it and run scripts/fetch-md4c-source.sh")
  endif()
endfunction()

function(ondrel_md4c_from_source)
  cmake_path(ABSOLUTE_PATH CMAKE_BINARY_DIR NORMALIZE OUTPUT_VARIABLE build_dir)
  cmake_path(GET build_dir PARENT_PATH build_root)
  set(ONDREL_MD4C_TARBALL "${build_root}/md4c-source/md4c_${ONDREL_MD4C_VERSION}.orig.tar.gz"
      CACHE FILEPATH "md4c's source tarball from Debian, compiled into the Windows build")
  ondrel_md4c_check_tarball("${ONDREL_MD4C_TARBALL}")

  set(top "md4c-release-${ONDREL_MD4C_VERSION}")
  set(source_dir "${CMAKE_BINARY_DIR}/md4c/${top}/src")
  if(NOT EXISTS "${source_dir}/md4c.c")
    file(ARCHIVE_EXTRACT INPUT "${ONDREL_MD4C_TARBALL}" DESTINATION "${CMAKE_BINARY_DIR}/md4c"
         PATTERNS "${top}/src/*" "${top}/LICENSE.md")
  endif()

  # Compiled as published: their warnings are upstream's business.
  add_library(md4c STATIC "${source_dir}/md4c.c")
  target_compile_definitions(md4c PRIVATE MD4C_USE_UTF8)
  add_library(md4c-html STATIC "${source_dir}/md4c-html.c" "${source_dir}/entity.c")
  target_link_libraries(md4c-html PUBLIC md4c)
  foreach(library md4c md4c-html)
    target_compile_options(${library} PRIVATE -w)
    target_include_directories(${library} SYSTEM PUBLIC "${source_dir}")
  endforeach()
  add_library(ondrel::md4c_html ALIAS md4c-html)
endfunction()

if(CMAKE_CROSSCOMPILING)
  ondrel_md4c_from_source()
else()
  ondrel_md4c_from_debian_package()
endif()

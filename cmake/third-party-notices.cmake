# Writes THIRD-PARTY-NOTICES.txt for one build's package from the licence
# files of the installed packages (and of cmark-gfm's source tarball for Windows),
# for every library of cmake/third_party_libraries.cmake that the build ships.
#   cmake -DBUILD_KIND=native|windows -DBINARY_DIR=... -DVERSION=... -DOUTPUT=... -P third-party-notices.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/third_party_libraries.cmake)

if(BUILD_KIND STREQUAL "windows")
  set(system "Windows")
else()
  set(system "Linux")
endif()

function(package_version package result)
  execute_process(COMMAND dpkg-query -W -f=\${Version} ${package}
    OUTPUT_VARIABLE version RESULT_VARIABLE status ERROR_QUIET)
  if(status EQUAL 0 AND version)
    set(${result} " ${version}" PARENT_SCOPE)
  else()
    set(${result} "" PARENT_SCOPE)
  endif()
endfunction()

set(rule "================================================================================")
set(contents "THIRD-PARTY NOTICES\n\nondrel ${VERSION} for ${system} contains or links the libraries below.\n")
string(APPEND contents "Each one's licence follows as its package ships it.\n\n")
set(texts "")
foreach(id IN LISTS ONDREL_THIRD_PARTY)
  if(NOT BUILD_KIND IN_LIST ONDREL_THIRD_PARTY_${id}_SHIPPED_IN)
    continue()
  endif()
  ondrel_third_party_license(${id} "${BINARY_DIR}" license)
  if(NOT license)
    list(JOIN ONDREL_THIRD_PARTY_${id}_LICENSE ", " looked)
    message(FATAL_ERROR " no licence file of ${ONDREL_THIRD_PARTY_${id}_NAME}: none of ${looked} exists; run scripts/install-dependencies.sh")
  endif()
  package_version(${ONDREL_THIRD_PARTY_${id}_PACKAGE} version)
  set(heading "${ONDREL_THIRD_PARTY_${id}_NAME} (Debian package ${ONDREL_THIRD_PARTY_${id}_PACKAGE}${version})")
  string(APPEND contents "- ${heading}: ${ONDREL_THIRD_PARTY_${id}_HOW_${BUILD_KIND}}\n")
  file(READ "${license}" text)
  string(APPEND texts "\n${rule}\n${heading}\nfrom ${license}\n${rule}\n\n${text}\n")
endforeach()
string(APPEND contents "${texts}")
# Windows users open the file in Notepad, whose older versions want CR LF.
if(BUILD_KIND STREQUAL "windows")
  string(REPLACE "\r\n" "\n" contents "${contents}")
  string(REPLACE "\n" "\r\n" contents "${contents}")
endif()
file(WRITE "${OUTPUT}" "${contents}")

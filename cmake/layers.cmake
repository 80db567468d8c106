# The layers hold apart by what each library can see. A library's include
# path holds its own folder and, through what it links, the folders of the
# layers below it, each in a root of its own under the build folder. An include
# that runs up a layer (capture/ naming plugin/, markdown/ naming capture/)
# finds no file and fails to build.
#
# ondrel_expose_folder(target folder): `folder`, relative to the source tree,
# becomes visible to the target and to everything that links it.
function(ondrel_expose_folder target folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  set(link ${root}/${folder})
  if(NOT EXISTS ${link})
    cmake_path(GET link PARENT_PATH parent)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${link} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# ondrel_expose_files(target file...): only these files, each named by its
# path relative to the source tree, become visible to the target and to
# everything that links it; their folder's other files stay out of sight.
# For the few headers that sit at the top of a folder whose rooms lie below
# them (capture/capture_request.h under capture/'s dispatcher).
function(ondrel_expose_files target)
  set(root ${CMAKE_BINARY_DIR}/layers/files/${target})
  foreach(file ${ARGN})
    set(link ${root}/${file})
    if(NOT EXISTS ${link})
      cmake_path(GET link PARENT_PATH parent)
      file(MAKE_DIRECTORY ${parent})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${file} ${link} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

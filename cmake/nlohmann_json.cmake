# nlohmann-json (Debian's nlohmann-json3-dev), header-only, for both builds.
# The native build takes the installed package; the cross build takes the same
# headers through a folder that holds them alone, so that no other header of
# the host's reaches the MinGW compiler.
if(CMAKE_CROSSCOMPILING)
  set(ONDREL_NLOHMANN_HEADERS /usr/include/nlohmann)
  if(NOT EXISTS ${ONDREL_NLOHMANN_HEADERS}/json.hpp)
    message(FATAL_ERROR "nlohmann-json is missing: run scripts/install-dependencies.sh")
  endif()
  set(include_folder ${CMAKE_BINARY_DIR}/nlohmann_json_include)
  file(MAKE_DIRECTORY ${include_folder})
  file(CREATE_LINK ${ONDREL_NLOHMANN_HEADERS} ${include_folder}/nlohmann SYMBOLIC)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${include_folder})
else()
  find_package(nlohmann_json 3.10 REQUIRED GLOBAL)
endif()

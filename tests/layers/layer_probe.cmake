# Compiles SOURCE with the include folders in INCLUDES (separated by |) and
# checks the OUTCOME: "compiles", or "fails" because HEADER is not found.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" folders "${INCLUDES}")
set(flags "")
foreach(folder IN LISTS folders)
  list(APPEND flags "-I${folder}")
endforeach()

execute_process(COMMAND ${COMPILER} -std=c++20 -fsyntax-only ${flags} ${SOURCE}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(OUTCOME STREQUAL "compiles")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "including ${HEADER} should compile but gave:\n${errors}")
  endif()
elseif(status EQUAL 0)
  message(FATAL_ERROR "including ${HEADER} compiled, but the layer below must not see it")
elseif(NOT errors MATCHES "${HEADER}: No such file")
  message(FATAL_ERROR "including ${HEADER} failed for another reason:\n${errors}")
endif()

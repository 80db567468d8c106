# Fails unless a Windows module or program imports nothing but DLLs that every Windows (7 and
# later) ships: whatever a library brings must be linked in, not loaded beside the module.
#   cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DFILE=module.dll -P system-imports.cmake
cmake_minimum_required(VERSION 3.25)
set(system_dlls
  advapi32 bcrypt comctl32 comdlg32 crypt32 dbghelp gdi32 gdiplus imm32 kernel32 msvcrt ntdll
  ole32 oleaut32 psapi rpcrt4 secur32 shell32 shlwapi user32 userenv version windowscodecs winmm
  ws2_32)

execute_process(COMMAND "${OBJDUMP}" -p "${FILE}" OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${FILE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "no imported DLL found in ${FILE}: is it a Windows program?")
endif()

set(dlls "")
set(foreign "")
foreach(line IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
  string(STRIP "${dll}" dll)
  list(APPEND dlls "${dll}")
  string(TOLOWER "${dll}" name)
  string(REGEX REPLACE "\\.dll$" "" name "${name}")
  if(NOT name IN_LIST system_dlls AND NOT name MATCHES "^api-ms-win-")
    list(APPEND foreign "${dll}")
  endif()
endforeach()
if(foreign)
  list(JOIN foreign ", " foreign)
  message(FATAL_ERROR "${FILE} imports DLLs that Windows does not ship: ${foreign}")
endif()
list(JOIN dlls ", " dlls)
message(STATUS "${FILE} imports ${dlls}")

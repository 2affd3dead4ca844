# Checks quorvane.exe as a Windows user gets it: a 64-bit GUI program of at
# most 1 MiB that needs no DLL beyond Windows' own, with its icon, manifest
# and version resource. Run by CTest in the Windows build:
#   cmake -DPROGRAM=quorvane.exe -DOBJDUMP=... -DWINDRES=... -P check-windows-program.cmake
cmake_minimum_required(VERSION 3.25)
set(windows_dlls kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll)
set(failures "")

file(SIZE "${PROGRAM}" size)
if(size GREATER 1048576)
  list(APPEND failures "${size} bytes, more than 1 MiB")
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}" OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} could not read ${PROGRAM}")
endif()
if(NOT headers MATCHES "Magic[ \t]+020b")
  list(APPEND failures "not a 64-bit (PE32+) program")
endif()
if(NOT headers MATCHES "Subsystem[ \t]+00000002")
  list(APPEND failures "not a GUI program")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
if(NOT imports)
  list(APPEND failures "no imports found: the check reads nothing")
endif()
foreach(import IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${import}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST windows_dlls)
    list(APPEND failures "imports ${dll}, which is not Windows' own")
  endif()
endforeach()

execute_process(COMMAND "${WINDRES}" -i "${PROGRAM}" -O rc OUTPUT_VARIABLE resources)
foreach(expected
    "RT_GROUP_ICON" "RT_MANIFEST" "VALUE \"FileVersion\", \"1.00\""
    "VALUE \"ProductVersion\", \"1.00\"" "VALUE \"Translation\", 0x409, 1200")
  string(FIND "${resources}" "${expected}" at)
  if(at EQUAL -1)
    list(APPEND failures "no ${expected} among its resources")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "${PROGRAM}:\n  ${text}")
endif()
list(LENGTH imports count)
message(STATUS "${PROGRAM}: ${size} bytes, 64-bit GUI, ${count} DLLs of Windows' own, icon, "
               "manifest and version 1.00")

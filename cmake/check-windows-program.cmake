# Checks a program as a Windows user gets it: 64-bit, of at most 1 MiB,
# needing no DLL beyond Windows' own, with its version resource; the window
# (quorvane.exe) a GUI program with its icon and manifest, the command line
# (KIND=console, quorvane-cli.exe) a console program. Run by CTest in the
# Windows build:
#   cmake -DPROGRAM=quorvane.exe [-DKIND=console] -DOBJDUMP=... -DWINDRES=... -P check-windows-program.cmake
cmake_minimum_required(VERSION 3.25)
set(windows_dlls kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll bcrypt.dll)
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
if(KIND STREQUAL "console")
  set(subsystem 3)
  set(resources_expected "")
else()
  set(KIND GUI)
  set(subsystem 2)
  set(resources_expected "RT_GROUP_ICON" "RT_MANIFEST")
endif()
if(NOT headers MATCHES "Subsystem[ \t]+0000000${subsystem}")
  list(APPEND failures "not a ${KIND} program")
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
    ${resources_expected} "VALUE \"FileVersion\", \"1.00\""
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
message(STATUS "${PROGRAM}: ${size} bytes, 64-bit ${KIND}, ${count} DLLs of Windows' own, "
               "${resources_expected} version 1.00")

# Checks one platform's table of a code page against Windows': runs
# code_page_codes (through EMULATOR, for a program of another system) and
# compares the SHA-256 of what it prints with HASH.
#   cmake -DPROGRAM=code_page_codes -DEMULATOR= -DHASH=... -P check-code-page.cmake
execute_process(COMMAND ${EMULATOR} ${PROGRAM} OUTPUT_VARIABLE codes RESULT_VARIABLE status)
string(REPLACE "\r" "" codes "${codes}")  # Windows' line end
string(SHA256 hash "${codes}")
if(NOT status EQUAL 0 OR NOT hash STREQUAL HASH)
  string(LENGTH "${codes}" length)
  message(FATAL_ERROR "Not Windows' table: ${length} characters hashing to ${hash} (status ${status})")
endif()

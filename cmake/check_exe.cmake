# Checks a built program against its budget: its size, and that it imports
# only DLLs that Windows itself ships. The reader is objdump, or Visual C++'s
# dumpbin.
#   cmake -DEXE=path -DREADER=path -DBUDGET=bytes -P check_exe.cmake
#
# The import list is a security rule, not only a portability one. The program
# is often run elevated from a Downloads folder, where a planted DLL named like
# one it imports would be loaded from beside the exe before wWinMain can
# restrict the search. Every DLL allowed here is a KnownDLL, always loaded from
# the system folder, except COMCTL32, which the manifest redirects to the
# side-by-side store.
set(allowed KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll COMCTL32.dll SHELL32.dll msvcrt.dll)

get_filename_component(reader_name ${READER} NAME_WE)
string(TOLOWER "${reader_name}" reader_name)
if(reader_name STREQUAL "dumpbin")
  # One indented line per DLL: "    KERNEL32.dll".
  execute_process(COMMAND ${READER} /nologo /dependents ${EXE} OUTPUT_VARIABLE dump
                  RESULT_VARIABLE status)
  string(REGEX MATCHALL "    [^ \r\n]+\\.[dD][lL][lL]" entries "${dump}")
else()
  execute_process(COMMAND ${READER} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" entries "${dump}")
endif()
if(NOT status EQUAL 0 OR NOT entries)
  message(FATAL_ERROR "cannot read the imports of ${EXE} with ${READER}")
endif()
set(foreign "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^(DLL Name: |    )" "" dll "${entry}")
  string(TOUPPER "${dll}" dll_upper)
  set(known FALSE)
  foreach(ok IN LISTS allowed)
    string(TOUPPER "${ok}" ok_upper)
    if(dll_upper STREQUAL ok_upper)
      set(known TRUE)
    endif()
  endforeach()
  if(NOT known)
    list(APPEND foreign ${dll})
  endif()
endforeach()

file(SIZE ${EXE} size)
math(EXPR percent "100 * ${size} / ${BUDGET}")
get_filename_component(name ${EXE} NAME)
message("${name}: ${size} bytes, ${percent}% of the ${BUDGET}-byte budget")
if(foreign)
  message(FATAL_ERROR "${name} imports DLLs that Windows does not ship: ${foreign}")
endif()
if(size GREATER BUDGET)
  message(FATAL_ERROR "${name} is over its size budget")
endif()

# Fails unless the library LIBRARY exports exactly the functions its header
# HEADER declares with MF_EXPORT, every one of them named mf_: a function
# declared but hidden by the version script, or exported but declared
# nowhere, is caught here rather than by a caller's link. Run as:
# cmake -DNM=... -DLIBRARY=... -DHEADER=... -P.
cmake_policy(SET CMP0057 NEW)
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(exported "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* " "" name "${line}")
  if(NOT name MATCHES "^mf_")
    message(FATAL_ERROR "${LIBRARY} exports ${name}, which is not an mf_ name")
  endif()
  list(APPEND exported "${name}")
endforeach()
if(exported STREQUAL "")
  message(FATAL_ERROR "${LIBRARY} exports nothing")
endif()

file(READ ${HEADER} header)
# "MF_EXPORT int mf_dedupe(", the return type on the same line.
string(REGEX MATCHALL "MF_EXPORT [^;(#]*[ *]mf_[a-z0-9_]+\\(" declarations
  "${header}")
set(declared "")
foreach(declaration IN LISTS declarations)
  string(REGEX REPLACE "^.*[ *](mf_[a-z0-9_]+)\\($" "\\1" name
    "${declaration}")
  list(APPEND declared "${name}")
endforeach()
foreach(name IN LISTS declared)
  if(NOT name IN_LIST exported)
    message(FATAL_ERROR "${HEADER} declares ${name}, which ${LIBRARY} does not export")
  endif()
endforeach()
foreach(name IN LISTS exported)
  if(NOT name IN_LIST declared)
    message(FATAL_ERROR "${LIBRARY} exports ${name}, which ${HEADER} does not declare")
  endif()
endforeach()
list(LENGTH exported count)
message(STATUS "${count} mf_ names exported, each declared in the header")

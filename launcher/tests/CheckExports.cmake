# The component library must export StrolvexInit and nothing else of ours.
execute_process(COMMAND nm -D --defined-only ${MODULE}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${MODULE}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(ours "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${line}")
  # Anything the toolchain adds is not a C++ or Strolvex name.
  if(name MATCHES "^_Z" OR name MATCHES "Strolvex")
    list(APPEND ours "${name}")
  endif()
endforeach()
if(NOT ours STREQUAL "StrolvexInit")
  message(FATAL_ERROR "exported symbols of ours: '${ours}', expected StrolvexInit alone\n${symbols}")
endif()

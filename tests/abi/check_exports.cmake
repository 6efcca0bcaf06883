# Compares the dynamic symbol table of the built library with the contract:
# the library must export exactly the contract's functions, nothing more and
# nothing less.  The two C++ functions of the contract are exported under
# their Itanium-mangled names.
#   cmake -DLIBRARY=libkorvaifc.so -DCONTRACT=abi/exports.tsv -P check_exports.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND nm -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE _nm RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()

file(STRINGS ${CONTRACT} _lines)
set(_contract "")
foreach(_line IN LISTS _lines)
  string(REPLACE "\t" ";" _fields "${_line}")
  list(GET _fields 0 _name)
  if(_name STREQUAL "name")
    continue()
  endif()
  list(GET _fields 3 _family)
  if(_family STREQUAL "update-decorated")
    # Itanium mangling of int NAME(int, char*) and int NAME(int, int, char*).
    string(LENGTH "${_name}" _len)
    list(GET _fields 2 _args)
    string(REPLACE "char*" "Pc" _m "${_args}")
    string(REPLACE "int" "i" _m "${_m}")
    string(REPLACE "," "" _m "${_m}")
    set(_name "_Z${_len}${_name}${_m}")
  endif()
  list(APPEND _contract ${_name})
endforeach()

string(REPLACE "\n" ";" _symbols "${_nm}")
set(_exported "")
foreach(_sym IN LISTS _symbols)
  if(_sym MATCHES "^[0-9a-fA-F]* *([A-Za-z]) ([^ ]+)$")
    if(CMAKE_MATCH_1 STREQUAL "A")  # version-script nodes, not symbols
      continue()
    endif()
    list(APPEND _exported ${CMAKE_MATCH_2})
  endif()
endforeach()

set(_extra ${_exported})
list(REMOVE_ITEM _extra ${_contract})
set(_missing ${_contract})
list(REMOVE_ITEM _missing ${_exported})
list(LENGTH _exported _count)
list(LENGTH _contract _total)
message(STATUS "${_count} functions exported, ${_total} in the contract")
if(_extra)
  message(SEND_ERROR "exported but not in the contract: ${_extra}")
endif()
if(_missing)
  list(LENGTH _missing _n)
  message(SEND_ERROR "${_n} functions of the contract are not exported: ${_missing}")
endif()

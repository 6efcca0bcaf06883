# Regenerates the API reference into OUTPUT and compares it with the
# committed docs/API.md.
#   cmake -DGENERATOR=korva_api_doc -DSOURCE=<source dir> -DOUTPUT=API.md -P check_api_doc.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${GENERATOR} ${SOURCE}/abi/exports.tsv ${OUTPUT} ${SOURCE}/api
                RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "korva_api_doc failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${SOURCE}/docs/API.md
                RESULT_VARIABLE _diff)
if(NOT _diff EQUAL 0)
  message(FATAL_ERROR "docs/API.md is not current: compare it with ${OUTPUT}, "
                      "or rewrite it with `cmake --build build --target api_doc`")
endif()

# The generator refuses a header that declares a function with other types
# than the contract's, and a declaration of a function the contract lacks.
get_filename_component(_scratch ${OUTPUT} DIRECTORY)
set(_scratch ${_scratch}/api_doc_scratch)
foreach(_decl "KORVA_API int KORVA_CALL OpenLogFile(int path);"
              "KORVA_API double KORVA_CALL GetBeamStartx(int index);\nKORVA_API int KORVA_CALL Extra(void);")
  file(REMOVE_RECURSE ${_scratch})
  file(WRITE ${_scratch}/api/bad.h "${_decl}\n")
  execute_process(COMMAND ${GENERATOR} ${SOURCE}/abi/exports.tsv ${_scratch}/API.md ${_scratch}/api
                  RESULT_VARIABLE _rc ERROR_VARIABLE _err)
  if(_rc EQUAL 0)
    message(SEND_ERROR "korva_api_doc accepted a declaration that differs from the contract: ${_decl}")
  endif()
endforeach()
file(REMOVE_RECURSE ${_scratch})

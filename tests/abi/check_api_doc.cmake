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

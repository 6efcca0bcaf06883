# Code and compiled schemas generated from the EXPRESS schemas by expressc:
#   generated/ifc2x2/ifc2x2.h, ifc2x2_N.cc     IFC2x2 bindings
#   generated/objdb/header_section.h, _1.cc   exchange-file header classes
#   schemas/ifc2x2_final.tarn, ifc2x3.tarn, header_section_schema.tarn
# (IFC2X3 has no generated classes: its files are read late-bound through
# the dictionary)
# When cross-compiling, KORVA_EXPRESSC names an expressc built for the host.

set(KORVA_IFC_UNITS 8)
set(KORVA_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
set(KORVA_SCHEMA_DIR ${PROJECT_BINARY_DIR}/schemas)

if(CMAKE_CROSSCOMPILING)
  set(KORVA_EXPRESSC "" CACHE FILEPATH "expressc built for the build host")
  if(NOT KORVA_EXPRESSC)
    message(FATAL_ERROR "Cross-compiling needs -DKORVA_EXPRESSC=<host expressc>")
  endif()
  set(_expressc ${KORVA_EXPRESSC})
  set(_expressc_dep ${KORVA_EXPRESSC})
else()
  set(_expressc $<TARGET_FILE:expressc>)
  set(_expressc_dep expressc)
endif()

set(_ifc_exp ${PROJECT_SOURCE_DIR}/schemas/IFC2X2_FINAL.exp)
set(_header_exp ${PROJECT_SOURCE_DIR}/schemas/header_section_schema.exp)
set(_ifc2x3_exp ${PROJECT_SOURCE_DIR}/schemas/IFC2X3_TC1.exp)

set(KORVA_IFC_SOURCES "")
foreach(_i RANGE 1 ${KORVA_IFC_UNITS})
  list(APPEND KORVA_IFC_SOURCES ${KORVA_GENERATED_DIR}/ifc2x2/ifc2x2_${_i}.cc)
endforeach()
add_custom_command(
  OUTPUT ${KORVA_GENERATED_DIR}/ifc2x2/ifc2x2.h ${KORVA_IFC_SOURCES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVA_GENERATED_DIR}/ifc2x2
  COMMAND ${_expressc} ${_ifc_exp} --cpp ${KORVA_GENERATED_DIR}/ifc2x2 --base ifc2x2
          --schema ifc2x2_final --units ${KORVA_IFC_UNITS}
  DEPENDS ${_expressc_dep} ${_ifc_exp}
  COMMENT "Generating the IFC2x2 bindings")

set(KORVA_HEADER_SOURCES ${KORVA_GENERATED_DIR}/objdb/header_section_1.cc)
add_custom_command(
  OUTPUT ${KORVA_GENERATED_DIR}/objdb/header_section.h ${KORVA_HEADER_SOURCES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVA_GENERATED_DIR}/objdb
  COMMAND ${_expressc} ${_header_exp} --cpp ${KORVA_GENERATED_DIR}/objdb --base header_section
          --schema header_section_schema --units 1
  DEPENDS ${_expressc_dep} ${_header_exp}
  COMMENT "Generating the exchange-file header classes")

add_custom_command(
  OUTPUT ${KORVA_SCHEMA_DIR}/ifc2x2_final.tarn ${KORVA_SCHEMA_DIR}/header_section_schema.tarn
          ${KORVA_SCHEMA_DIR}/ifc2x3.tarn
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVA_SCHEMA_DIR}
  COMMAND ${_expressc} ${_ifc_exp} --tarn ${KORVA_SCHEMA_DIR}/ifc2x2_final.tarn --schema ifc2x2_final
  COMMAND ${_expressc} ${_header_exp} --tarn ${KORVA_SCHEMA_DIR}/header_section_schema.tarn
          --schema header_section_schema
  COMMAND ${_expressc} ${_ifc2x3_exp} --tarn ${KORVA_SCHEMA_DIR}/ifc2x3.tarn --schema ifc2x3
  DEPENDS ${_expressc_dep} ${_ifc_exp} ${_header_exp} ${_ifc2x3_exp}
  COMMENT "Compiling the schemas")
add_custom_target(korva_schemas ALL
  DEPENDS ${KORVA_SCHEMA_DIR}/ifc2x2_final.tarn ${KORVA_SCHEMA_DIR}/header_section_schema.tarn
          ${KORVA_SCHEMA_DIR}/ifc2x3.tarn)

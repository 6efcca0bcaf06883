# The korvaifc library: a core of objects (used by the tests and the
# command-line host) and the shared library that exports only the functions of the
# contract abi/exports.tsv.

set(KORVA_CORE_SOURCES
  platform/platform_common.cc
  objdb/aggregate.cc
  objdb/arena.cc
  objdb/back_pointers.cc
  objdb/binding_support.cc
  objdb/class_registry.cc
  objdb/complex_domain.cc
  objdb/configuration.cc
  objdb/cursor.cc
  objdb/design.cc
  objdb/design_header.cc
  objdb/dictionary.cc
  objdb/dictionary_binding.cc
  objdb/domain.cc
  objdb/error_reporter.cc
  objdb/external.cc
  objdb/integrated_models.cc
  objdb/interface.cc
  objdb/message_tables.cc
  objdb/meta_schema.cc
  objdb/oid.cc
  objdb/primitive_cast.cc
  objdb/process_state.cc
  objdb/schema_builder.cc
  objdb/select_path.cc
  objdb/structure.cc
  objdb/tarn_object.cc
  objdb/tarn_type.cc
  objdb/text.cc
  objdb/time_stamp.cc
  objdb/trash.cc
  objdb/union.cc
  objdb/usedin.cc
  exchange/conversion_rules.cc
  exchange/file_schema.cc
  exchange/format_registry.cc
  exchange/iostep.cc
  exchange/native_binary.cc
  exchange/native_text.cc
  exchange/part21_output.cc
  exchange/part21_reader.cc
  exchange/part21_tokenizer.cc
  exchange/part21_wide_text.cc
  exchange/part21_writer.cc
  exchange/schema_conversion.cc
  ifc2x2/geometry_builders.cc
  ifc2x2/globalid.cc
  ifc2x2/owner_history.cc
  ifc2x2/project_skeleton.cc
  ifc2x2/units.cc
  import/analysis_domains.cc
  import/analysis_import.cc
  import/analysis_members.cc
  import/analysis_reading.cc
  import/analysis_tables.cc
  import/material_import.cc
  import/profile_import.cc
  import/unit_import.cc
  import/building_import.cc
  import/building_domains.cc
  import/profile_outline.cc
  import/plane_angle_unit.cc
  import/building_tables.cc
  import/import_guard.cc
  import/import_state.cc
  import/import_table.cc
  import/long_texts.cc
  ifc2x2/schema.cc
  api/export_analysis.cc
  api/export_building.cc
  api/frame.cc
  api/library_state.cc
  api/guarded_call.cc
  api/import_analysis.cc
  api/import_building.cc
  export/analysis_export.cc
  export/building_export.cc
  api/update.cc
  update/globalid_search.cc
  update/member_geometry.cc
  update/member_loads.cc
  update/member_sections.cc
  update/update_save.cc
  update/update_state.cc
  update/change_space.cc
  update/update_support.cc
)
if(WIN32)
  list(APPEND KORVA_CORE_SOURCES platform/platform_win32.cc)
else()
  list(APPEND KORVA_CORE_SOURCES platform/platform_posix.cc)
endif()

# An object library, so that every unit (and its static registrations) is
# linked into each program that uses the core.
add_library(korvaifc_core OBJECT ${KORVA_CORE_SOURCES} ${KORVA_IFC_SOURCES} ${KORVA_HEADER_SOURCES})
target_include_directories(korvaifc_core PUBLIC ${PROJECT_SOURCE_DIR} ${KORVA_GENERATED_DIR})
add_dependencies(korvaifc_core korva_schemas)
set_target_properties(korvaifc_core PROPERTIES
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
if(WIN32)
  target_link_libraries(korvaifc_core PUBLIC ole32 advapi32)
endif()

# The exported names, read from the contract.
file(STRINGS ${PROJECT_SOURCE_DIR}/abi/exports.tsv _korva_abi_lines)
set(KORVA_EXPORT_NAMES "")
foreach(_line IN LISTS _korva_abi_lines)
  string(REGEX MATCH "^[A-Za-z0-9_]+" _name "${_line}")
  if(_name AND NOT _name STREQUAL "name")
    list(APPEND KORVA_EXPORT_NAMES ${_name})
  endif()
endforeach()

add_library(korvaifc SHARED cmake/empty.cc)
target_link_libraries(korvaifc PRIVATE korvaifc_core)
set_target_properties(korvaifc PROPERTIES
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON PREFIX "lib")
if(WIN32)
  # Plain export names without the stdcall "@N" decoration; no "lib" prefix.
  set_target_properties(korvaifc PROPERTIES PREFIX "")
  target_link_options(korvaifc PRIVATE -Wl,--kill-at -static-libgcc -static-libstdc++)
  include(cmake/windows_exports.cmake)
else()
  # A version script keeps every symbol local except the contract's names,
  # so that no template instantiation of the standard library leaks out.
  set(_script "{\n  global:\n")
  foreach(_name IN LISTS KORVA_EXPORT_NAMES)
    string(APPEND _script "    ${_name};\n")
  endforeach()
  string(APPEND _script "    extern \"C++\" {\n      \"OpenFileForUpdate2(int, char*)\";\n      \"UpdateOneCurveMemberSectionName(int, int, char*)\";\n    };\n  local: *;\n};\n")
  file(WRITE ${PROJECT_BINARY_DIR}/korvaifc.map "${_script}")
  target_link_options(korvaifc PRIVATE -Wl,--version-script=${PROJECT_BINARY_DIR}/korvaifc.map)
  set_property(TARGET korvaifc APPEND PROPERTY LINK_DEPENDS ${PROJECT_BINARY_DIR}/korvaifc.map)
endif()

# Installation and the CMake package: the shared library, the public headers
# (api/*.h and platform/exports.h, included as "api/korvaifc.h"), the
# compiled schemas in a folder "schemas" beside the library, and
# korvaifcConfig.cmake so that a host project can write
#   find_package(korvaifc 10 REQUIRED)
#   target_link_libraries(host PRIVATE korvaifc::korvaifc)
# and hand ${korvaifc_SCHEMA_DIR} to SetSchemaPath.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(WIN32)
  set(_korva_libdest ${CMAKE_INSTALL_BINDIR})
else()
  set(_korva_libdest ${CMAKE_INSTALL_LIBDIR})
endif()
set(KORVA_INSTALL_SCHEMADIR ${_korva_libdest}/schemas)
set(KORVA_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/korvaifc)
set(KORVA_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/korvaifc)

set_target_properties(korvaifc PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
target_include_directories(korvaifc INTERFACE $<INSTALL_INTERFACE:${KORVA_INSTALL_INCLUDEDIR}>)

install(TARGETS korvaifc EXPORT korvaifcTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
file(GLOB _korva_api_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/api/*.h)
install(FILES ${_korva_api_headers} DESTINATION ${KORVA_INSTALL_INCLUDEDIR}/api)
install(FILES ${PROJECT_SOURCE_DIR}/platform/exports.h DESTINATION ${KORVA_INSTALL_INCLUDEDIR}/platform)
install(FILES ${KORVA_SCHEMA_DIR}/ifc2x2_final.tarn ${KORVA_SCHEMA_DIR}/ifc2x3.tarn ${KORVA_SCHEMA_DIR}/header_section_schema.tarn
  DESTINATION ${KORVA_INSTALL_SCHEMADIR})

install(EXPORT korvaifcTargets NAMESPACE korvaifc:: DESTINATION ${KORVA_INSTALL_CMAKEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/korvaifcConfig.cmake.in
  ${PROJECT_BINARY_DIR}/korvaifcConfig.cmake
  INSTALL_DESTINATION ${KORVA_INSTALL_CMAKEDIR}
  PATH_VARS KORVA_INSTALL_SCHEMADIR KORVA_INSTALL_INCLUDEDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/korvaifcConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/korvaifcConfig.cmake ${PROJECT_BINARY_DIR}/korvaifcConfigVersion.cmake
  DESTINATION ${KORVA_INSTALL_CMAKEDIR})

# The module-definition file of the Windows DLL, written from the contract
# abi/exports.tsv at configure time: every plain name of the contract, and
# the two C++ functions under the MSVC-style decorated names the host binds,
# each aliased to the symbol mingw-w64 gives the function (as nm shows for
# a function of the same signature built by each cross compiler):
#   i686    int __stdcall OpenFileForUpdate2(int, char*)  is  _Z18OpenFileForUpdate2iPc@8
#   x86_64  no stdcall decoration: _Z18OpenFileForUpdate2iPc
# Plain names resolve to the stdcall symbols "Name@N" by the linker's stdcall
# fixup; tests/abi/check_windows_build.sh checks every N against the contract.

set(_korva_def ${PROJECT_BINARY_DIR}/korvaifc.def)
set(_text "LIBRARY korvaifc.dll\nEXPORTS\n")
foreach(_line IN LISTS _korva_abi_lines)
  string(REPLACE "\t" ";" _fields "${_line}")
  list(GET _fields 0 _name)
  list(GET _fields 3 _family)
  if(NOT _name STREQUAL "name" AND NOT _family STREQUAL "update-decorated")
    string(APPEND _text "  ${_name}\n")
  endif()
endforeach()
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  string(APPEND _text
    "  \"?OpenFileForUpdate2@@YGHHPAD@Z\" = _Z18OpenFileForUpdate2iPc@8\n"
    "  \"?UpdateOneCurveMemberSectionName@@YGHHHPAD@Z\" = _Z31UpdateOneCurveMemberSectionNameiiPc@12\n")
else()
  string(APPEND _text
    "  \"?OpenFileForUpdate2@@YAHHPEAD@Z\" = _Z18OpenFileForUpdate2iPc\n"
    "  \"?UpdateOneCurveMemberSectionName@@YAHHHPEAD@Z\" = _Z31UpdateOneCurveMemberSectionNameiiPc\n")
endif()
# Rewritten only when it changes, so that reconfiguring does not relink.
file(WRITE ${_korva_def}.new "${_text}")
configure_file(${_korva_def}.new ${_korva_def} COPYONLY)
target_sources(korvaifc PRIVATE ${_korva_def})
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # The fixups from plain names to "Name@N" are intended: no warning for each.
  target_link_options(korvaifc PRIVATE -Wl,--enable-stdcall-fixup)
endif()

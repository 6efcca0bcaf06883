#!/usr/bin/env bash
# Cross-builds korvaifc.dll and the host program korva_host.exe for 64-bit
# Windows and runs the host under wine64, as KORVA would load the library:
#   1. the DLL's export table equals the contract (x64 decorated names);
#   2. the host finds the compiled schemas through SetSchemaPath;
#   3. without SetSchemaPath and without configuration it fails (the
#      library cannot load its schemas);
#   4. with the schema folder in the registry key of the configuration, it
#      finds them without SetSchemaPath.
# Wine runs in a private prefix under BUILD_DIR with no TARN_* variables;
# the prefix is removed after a successful run.
# Usage: run_host_under_wine.sh SOURCE_DIR BUILD_DIR HOST_EXPRESSC SCHEMA_DIR
# Exits 77 (skipped) when the cross compiler or wine64 is not installed.
set -euo pipefail
src=$1
build=$2
expressc=$3
schemas=$4

command -v x86_64-w64-mingw32-g++ >/dev/null || { echo "x86_64-w64-mingw32-g++ not installed"; exit 77; }
wine=$(command -v wine64 || true)
[ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; }
[ -n "$wine" ] || { echo "wine64 not installed"; exit 77; }

gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
cmake -S "$src" -B "$build" "${gen[@]}" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DKORVA_EXPRESSC="$expressc" >/dev/null
if ! cmake --build "$build" --target korvaifc -j 2 >"$build/build.log" 2>&1; then
  grep -E 'error|cannot export|undefined' "$build/build.log" | head -n 40 || tail -n 40 "$build/build.log"
  exit 1
fi
dll="$build/korvaifc.dll"
host="$build/korva_host.exe"
x86_64-w64-mingw32-gcc -std=c11 -O1 -Wall -Wextra -Werror "$src/tests/windows/korva_host.c" -o "$host"

"$(dirname "$0")/../abi/compare_dll_exports.sh" x86_64-w64-mingw32-objdump "$dll" "$src/abi/exports.tsv" \
    '?OpenFileForUpdate2@@YAHHPEAD@Z' '?UpdateOneCurveMemberSectionName@@YAHHHPEAD@Z'

# Windows paths of the files (wine maps the root folder to drive Z:).
winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
unset TARN_DB TARN_SCHEMAS TARN_RUNTIME TARN_SYSTEM_DB TARN TARN_AP_PATH TARN_REGKEY TARN_LOG TARN_DEBUG
mkdir -p "$WINEPREFIX"
key='HKCU\Software\Kestrel Software, Inc.\KS-Runtime\10'
"$wine" reg delete "$key" /f >/dev/null 2>&1 || true

run() {  # run NAME SCHEMA_ARGUMENT: the host in a fresh folder; its status
  local dir="$build/host-$1"
  rm -rf "$dir" && mkdir -p "$dir"
  local rc=0
  "$wine" "$(winpath "$host")" "$(winpath "$dll")" "$(winpath "$src/abi/exports.tsv")" "$(winpath "$dir")" "$2" \
      >"$dir/output.txt" 2>&1 || rc=$?
  grep -E '^(FAILED|[0-9]+ functions bound)' "$dir/output.txt" | sed "s/^/$1: /" || true
  return $rc
}

status=0
run schema-path "$(winpath "$schemas")" || { echo "the host failed with SetSchemaPath"; status=1; }
if run unconfigured - >/dev/null; then
  echo "the host ran without any schema path: the registry run below would prove nothing"; status=1
fi
"$wine" reg add "$key" /v schemas /t REG_SZ /d "$(winpath "$schemas")" /f >/dev/null
run registry - || { echo "the host failed with the schema folder in the registry"; status=1; }
"$wine" reg delete "$key" /f >/dev/null 2>&1 || true
"$(dirname "$wine")/wineserver" -k 2>/dev/null || wineserver -k 2>/dev/null || true
# The prefix holds a copy of wine's system DLLs (several hundred MB): kept
# only when something failed.
[ $status -ne 0 ] || rm -rf "$WINEPREFIX"
exit $status

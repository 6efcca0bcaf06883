#!/usr/bin/env bash
# Cross-builds korvaifc.dll for 32-bit Windows and checks it against the
# contract abi/exports.tsv:
#   - the DLL's export table holds exactly the contract's names: plain names
#     without stdcall decoration, and the two C++ functions under their
#     MSVC-style decorated names only;
#   - every function's stdcall argument size (the N of the compiler's symbol
#     "_Name@N") equals the size of its argument list in the contract: 8 for
#     a double, 4 for an integer or a pointer.
# Usage: check_windows_build.sh SOURCE_DIR BUILD_DIR HOST_EXPRESSC
# Exits 77 (skipped) when the cross compiler is not installed.
set -euo pipefail
src=$1
build=$2
expressc=$3
command -v i686-w64-mingw32-g++ >/dev/null || { echo "i686-w64-mingw32-g++ not installed"; exit 77; }

gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
cmake -S "$src" -B "$build" "${gen[@]}" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DKORVA_EXPRESSC="$expressc" >/dev/null
if ! cmake --build "$build" --target korvaifc -j 2 >"$build/build.log" 2>&1; then
  grep -E 'error|cannot export|undefined' "$build/build.log" | head -n 40 || tail -n 40 "$build/build.log"
  exit 1
fi

dll="$build/korvaifc.dll"
[ -f "$dll" ] || { echo "no $dll"; exit 1; }
i686-w64-mingw32-objdump -f "$dll" | grep -q 'file format pei-i386' || { echo "not an i386 image"; exit 1; }

status=0

# 1. The export table equals the contract.
"$(dirname "$0")/compare_dll_exports.sh" i686-w64-mingw32-objdump "$dll" "$src/abi/exports.tsv" \
    '?OpenFileForUpdate2@@YGHHPAD@Z' '?UpdateOneCurveMemberSectionName@@YGHHHPAD@Z' || status=1

# 2. stdcall argument sizes.  The defined global symbols of the library's
# objects look like "_Name@N" (C) or "__Z18OpenFileForUpdate2iPc@8" (C++).
objects=$(find "$build/CMakeFiles/korvaifc_core.dir" -name '*.obj')
symbols=$(i686-w64-mingw32-nm --defined-only -g $objects | awk '$2 == "T" { print $3 }' | grep '@[0-9]*$' | sort -u)
sizes=$(awk -F'\t' 'NR > 1 {
          n = 0; k = split($3, a, ",")
          for (i = 1; i <= k; i++) if (a[i] != "") n += (a[i] == "double") ? 8 : 4
          if ($4 == "update-decorated") {
            m = $3; gsub("char\\*", "Pc", m); gsub("int", "i", m); gsub(",", "", m)
            print "__Z" length($1) $1 m, n
          } else {
            print "_" $1, n
          }
        }' "$src/abi/exports.tsv")
mismatched=0
while read -r name size; do
  found=$(grep -E "^${name}@[0-9]+$" <<<"$symbols" || true)
  if [ -z "$found" ]; then
    echo "no stdcall symbol for $name"; status=1; mismatched=$((mismatched + 1))
  elif [ "$found" != "$name@$size" ]; then
    echo "argument size differs from the contract: $found, contract @$size"; status=1
    mismatched=$((mismatched + 1))
  fi
done <<<"$sizes"
echo "$(wc -l <<<"$sizes") stdcall argument sizes checked, $mismatched wrong or missing"
exit $status

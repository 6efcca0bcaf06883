#!/usr/bin/env bash
# Cross-builds korvaifc.dll for 32-bit Windows and checks its export table:
# plain names without stdcall decoration, every one of them in the contract.
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
  tail -n 40 "$build/build.log"
  exit 1
fi

dll="$build/korvaifc.dll"
[ -f "$dll" ] || { echo "no $dll"; exit 1; }
header=$(i686-w64-mingw32-objdump -p "$dll")
grep -q 'file format pei-i386' <<<"$header" || { echo "not an i386 image"; exit 1; }

# Names listed in the export directory's [Ordinal/Name Pointer] Table.
names=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$header" |
        sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*\(.*\)$/\1/p')
[ -n "$names" ] || { echo "no exports found"; exit 1; }
contract=$(tail -n +2 "$src/abi/exports.tsv" | cut -f1)
decorated='?OpenFileForUpdate2@@YGHHPAD@Z ?UpdateOneCurveMemberSectionName@@YGHHHPAD@Z'
status=0
while read -r name; do
  if [[ " $decorated " == *" $name "* ]]; then continue; fi
  if [[ "$name" == *@* ]]; then echo "decorated export: $name"; status=1; continue; fi
  grep -qxF "$name" <<<"$contract" || { echo "not in the contract: $name"; status=1; }
done <<<"$names"
for required in OpenLogFile CloseLogFile SetSchemaPath ShutDown; do
  grep -qxF "$required" <<<"$names" || { echo "missing export: $required"; status=1; }
done
echo "$(wc -l <<<"$names") exports checked"
exit $status

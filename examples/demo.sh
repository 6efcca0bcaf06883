#!/usr/bin/env bash
# The round trip of ./run demo: the bundled example models exported to IFC
# through the library's export functions, checked by its reader, imported
# through its import functions, and (where the library has the update
# functions) a member's section changed in place and imported again.
#   examples/demo.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
korva="$build/cli/korva-ifc"
out="$build/demo"
mkdir -p "$out"
log="$out/library-messages.log"
: >"$log"
run() { "$korva" "$@" 2>>"$log"; }

echo "== export: examples/models/building.json, examples/models/analysis.json"
run export-building examples/models/building.json "$out/building.ifc"
run export-analysis examples/models/analysis.json "$out/analysis.ifc"
ls -l "$out/building.ifc" "$out/analysis.ifc" | awk '{print "   ", $NF, $5, "bytes"}'

for f in building analysis; do
  echo
  echo "== check $f.ifc"
  run check "$out/$f.ifc" | sed -n -e '/Ifc\(Beam\|Column\|Slab\|WallStandardCase\|BuildingStorey\)\b/p' \
    -e '/IfcStructural\(AnalysisModel\|CurveMember\|SurfaceMember\|PointConnection\)\b/p' \
    -e '/ total /p' -e '/warnings\?, /p'
done

summary() {  # the import summary as one line per table
  run import --summary "$1" | tr -d '{}[]",' | awk 'NF == 2 && $2 ~ /^[0-9]+$/ && $2 != "0" {printf "    %-18s %s\n", $1, $2}
                                                     $1 == "Name:" {print "    analysis model:  ", $2, $3, $4}'
}
for f in building analysis; do
  echo
  echo "== import --summary $f.ifc"
  summary "$out/$f.ifc"
done

echo
if "$korva" --help | grep -q ' update-section '; then
  echo "== update: member B1 gets the section IPE 300, then import again"
  run update-section "$out/analysis.ifc" B1 "IPE 300" 150 300 7.1 10.7 15 42.2
  summary "$out/analysis.ifc"
else
  echo "== update: the update functions are not in this build of the library yet"
fi
echo
echo "files in $out; the library's own messages in $log"

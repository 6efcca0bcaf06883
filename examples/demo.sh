#!/usr/bin/env bash
# The round trip of ./run demo: the bundled example models exported to IFC
# through the library's export functions, checked by its reader, imported
# through its import functions, and (where the library has the update
# functions) a member's section changed in place and imported again; then
# IFC2X3 copies of the models, the files to open in a viewer.
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

summary() {  # the import summary, one line per table that has records
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
  # The export writes no sections and the update replaces one: B1 first
  # gets a section "IPE 200" by two instances added to the file.
  b1=$(grep -o "^#[0-9]*=IFCSTRUCTURALCURVEMEMBER('[^']*',#[0-9]*,'B1'" "$out/analysis.ifc" | cut -d= -f1)
  props="IFCSTRUCTURALPROFILEPROPERTIES('IPE 200'$(printf ',$%.0s' $(seq 20)));"
  rel="IFCRELASSOCIATESPROFILEPROPERTIES('3kdDemoSectionOfB1xxxx',\$,\$,\$,($b1),#900001,\$);"
  awk -v p="#900001=$props" -v r="#900002=$rel" '/^ENDSEC;/ { n++ } /^ENDSEC;/ && n == 2 { print p; print r } { print }' \
    "$out/analysis.ifc" >"$out/analysis-with-section.ifc"
  run update-section --output "$out/analysis-updated.ifc" "$out/analysis-with-section.ifc" B1 "IPE 300" \
    0.15 0.3 0.0071 0.0107 0.015 | sed 's/^/    /'
  echo
  echo "== import --summary analysis-updated.ifc"
  summary "$out/analysis-updated.ifc"
else
  echo "== update: the update functions are not in this build of the library yet"
fi

echo
echo "== IFC2X3 copies for today's viewers (which refuse IFC2X2_FINAL)"
for f in building analysis; do
  # Through convert, and straight from the export with the output schema set.
  printf '    %s: ' "$f-ifc2x3.ifc"
  run convert "$out/$f.ifc" "$out/$f-ifc2x3.ifc"
  TARN_OUTPUT_SCHEMA=IFC2X3 run "export-$f" "examples/models/$f.json" "$out/$f-exported-ifc2x3.ifc"
  run check "$out/$f-exported-ifc2x3.ifc" | sed -n -e 's/^/    '"$f"'-exported-ifc2x3.ifc: /' -e '/warnings\?, /p'
done
echo "    open $out/building-ifc2x3.ifc or $out/analysis-ifc2x3.ifc in an IFC viewer"
echo
echo "files in $out; the library's own messages in $log"

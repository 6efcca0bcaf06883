#!/usr/bin/env bash
# Collects what the library writes and reads back, in a form that can be
# compared between builds:
#   files/TEST/NAME       every IFC file the export, import and update tests
#                         write (their fixtures' inputs included), the example
#                         models exported by korva-ifc and the updated model;
#   import/TEST/NAME.json `korva-ifc import` of each of those files and of
#                         the fuzz seeds.
# GlobalIds, time stamps and temporary folder names are masked, since they
# differ from run to run.
#   tests/baseline/collect.sh BUILD_DIR OUT_DIR
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
out=$2
korva="$build/cli/korva-ifc"
schemas="$build/schemas"

rm -rf "$out"
mkdir -p "$out/files" "$out/import"
raw=$(mktemp -d)
trap 'rm -rf "$raw"' EXIT

# The tests, each keeping the IFC files its temporary folder held.
KORVA_KEEP_TEST_FILES="$raw/tests" "$build/tests/korva_unit_tests" \
  --gtest_filter='BuildingExportTest.*:AnalysisExportTest.*:BuildingImportTest.*:AnalysisImportTest.*:RoundTripTest.*:UpdateTest.*:MemberUpdateTest.*:GraphTest.*' \
  >/dev/null 2>&1

# The example models through the command-line host, and one update.
mkdir -p "$raw/tests/examples"
ex="$raw/tests/examples"
"$korva" export-building --schemas "$schemas" "$source_dir/examples/models/building.json" "$ex/building.ifc" 2>/dev/null
"$korva" export-analysis --schemas "$schemas" "$source_dir/examples/models/analysis.json" "$ex/analysis.ifc" 2>/dev/null
b1=$(grep -o "^#[0-9]*=IFCSTRUCTURALCURVEMEMBER('[^']*',#[0-9]*,'B1'" "$ex/analysis.ifc" | cut -d= -f1)
awk -v p="#900001=IFCSTRUCTURALPROFILEPROPERTIES('IPE 200'$(printf ',$%.0s' $(seq 20)));" \
    -v r="#900002=IFCRELASSOCIATESPROFILEPROPERTIES('3kdDemoSectionOfB1xxxx',\$,\$,\$,($b1),#900001,\$);" \
    '/^ENDSEC;/ { n++ } /^ENDSEC;/ && n == 2 { print p; print r } { print }' \
    "$ex/analysis.ifc" >"$ex/analysis-with-section.ifc"
"$korva" update-section --schemas "$schemas" --output "$ex/analysis-updated.ifc" "$ex/analysis-with-section.ifc" \
  B1 "IPE 300" 0.15 0.3 0.0071 0.0107 0.015 >/dev/null 2>&1
mkdir -p "$raw/tests/seeds"
cp "$source_dir"/tests/fuzz/seeds/*.ifc "$raw/tests/seeds/"

# GlobalIds (22 characters of their alphabet between quotes), the header's
# time stamp, the owner histories' creation dates and temporary folders.
mask() {
  sed -E -e "s/'[0-9A-Za-z_\$]{22}'/'<GUID>'/g" \
         -e "s/'[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}[-+][0-9]{2}:00'/'<TIME>'/g" \
         -e 's/(IFCOWNERHISTORY\(.*,)[0-9]+\);$/\1<DATE>);/' \
         -e 's#"[0-9A-Za-z_$]{22}"#"<GUID>"#g' \
         -e "s#$raw/tests/#<DIR>/#g" -e 's#/tmp/korva-test-[A-Za-z0-9]{6}#<TMP>#g'
}

cd "$raw/tests"
find . -type f \( -name '*.ifc' -o -name '*.stp' \) | sort | while read -r f; do
  f=${f#./}
  mkdir -p "$out/files/$(dirname "$f")" "$out/import/$(dirname "$f")"
  mask <"$f" >"$out/files/$f"
  status=0
  "$korva" import --schemas "$schemas" "$f" 2>/dev/null | mask >"$out/import/$f.json" || status=$?
  [ "$status" -eq 0 ] || echo "exit $status" >>"$out/import/$f.json"
done

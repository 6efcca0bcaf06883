#!/usr/bin/env bash
# The IFC2X3 files of the bundled example models, written by the exports
# under TARN_OUTPUT_SCHEMA=IFC2X3 and by korva-ifc convert, opened with
# web-ifc 0.0.78: it must find the walls, slabs, beams, columns, structural
# members and point connections our import finds, with the same GlobalIds.
#   check_with_webifc.sh BUILD_DIR KORVA_IFC SOURCE_DIR
# web-ifc is installed into BUILD_DIR/webifc (./run test does it beforehand);
# exit status 77 (skipped) only when npm cannot get it.
set -euo pipefail
build=$1 korva=$2 source=$3
prefix="$build/webifc"
modules="$prefix/node_modules"
if [ ! -f "$modules/web-ifc/web-ifc-api-node.js" ]; then
  if ! command -v npm >/dev/null || ! command -v node >/dev/null; then
    echo "skipped: node and npm are not installed, so web-ifc cannot be had"
    exit 77
  fi
  mkdir -p "$prefix"
  if ! timeout 600 npm install --prefix "$prefix" --no-audit --no-fund --silent web-ifc@0.0.78 >"$prefix/npm.log" 2>&1; then
    echo "skipped: npm cannot reach the registry to install web-ifc 0.0.78:"
    tail -5 "$prefix/npm.log"
    exit 77
  fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The library's own messages go to a log, shown when something fails.
korva() { "$korva" "$@" 2>>"$work/messages.log"; }
status=0
for kind in building analysis; do
  model="$source/examples/models/$kind.json"
  korva "export-$kind" "$model" "$work/$kind.ifc" >/dev/null
  TARN_OUTPUT_SCHEMA=IFC2X3 korva "export-$kind" "$model" "$work/$kind-exported-ifc2x3.ifc" >/dev/null
  korva convert "$work/$kind.ifc" "$work/$kind-converted-ifc2x3.ifc" >/dev/null
  # What our import finds in the IFC2x2 file; the GlobalIds of the export
  # made under TARN_OUTPUT_SCHEMA are its own, so its IFC2x2 twin is the
  # conversion back.
  korva import "$work/$kind.ifc" >"$work/$kind.json"
  korva convert --schema IFC2X2_FINAL "$work/$kind-exported-ifc2x3.ifc" "$work/$kind-exported-back.ifc" >/dev/null
  korva import "$work/$kind-exported-back.ifc" >"$work/$kind-exported.json"
  node "$source/tests/webifc/compare_with_import.js" "$modules" "$work/$kind.json" \
    "$work/$kind-converted-ifc2x3.ifc" || status=1
  node "$source/tests/webifc/compare_with_import.js" "$modules" "$work/$kind-exported.json" \
    "$work/$kind-exported-ifc2x3.ifc" || status=1
done
[ $status -eq 0 ] || cat "$work/messages.log"
exit $status

#!/usr/bin/env bash
# Installs the built library into a temporary prefix, then configures, builds
# and runs a consumer project that finds it with find_package(korvaifc 10)
# and loads the installed schemas.
# Usage: check_install.sh SOURCE_DIR BUILD_DIR WORK_DIR [CONSUMER_FLAGS]
set -euo pipefail
src=$1
build=$2
work=$3
flags=${4:-}
rm -rf "$work" && mkdir -p "$work/out"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
for f in include/korvaifc/api/korvaifc.h include/korvaifc/platform/exports.h \
         korvaifcConfig.cmake korvaifcConfigVersion.cmake korvaifcTargets.cmake \
         schemas/ifc2x2_final.tarn schemas/ifc2x3.tarn schemas/header_section_schema.tarn libkorvaifc.so.10; do
  [ -n "$(find "$prefix" -path "*/$f")" ] || { echo "not installed: $f"; exit 1; }
done
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
cmake -S "$src/tests/install/consumer" -B "$work/consumer" "${gen[@]}" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log"; exit 1; }
cmake --build "$work/consumer" >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
if "$work/consumer/consumer" "$work/out" >"$work/run.log" 2>&1; then
  grep -E '^(korvaifc|wrote)' "$work/run.log"
else
  cat "$work/run.log"
  exit 1
fi

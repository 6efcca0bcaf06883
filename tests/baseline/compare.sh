#!/usr/bin/env bash
# Collects the current outputs (collect.sh) and compares them with the
# committed ones; any difference fails with the diff.
#   tests/baseline/compare.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
"$here/collect.sh" "$build" "$build/baseline-current"
diff -r "$here/expected" "$build/baseline-current" | head -200
diff -rq "$here/expected" "$build/baseline-current" >/dev/null

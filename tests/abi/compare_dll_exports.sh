#!/usr/bin/env bash
# Compares the export table of a Windows DLL with the contract: exactly the
# contract's plain names, and the two C++ functions of the contract under
# the decorated names given (nothing under the compiler's own names).
# Usage: compare_dll_exports.sh OBJDUMP DLL CONTRACT DECORATED...
set -euo pipefail
objdump=$1
dll=$2
contract=$3
shift 3

# Names listed in the export directory's [Ordinal/Name Pointer] Table.
exported=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
           sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*\(.*\)$/\1/p' | LC_ALL=C sort)
expected=$( (awk -F'\t' 'NR > 1 && $4 != "update-decorated" { print $1 }' "$contract"
             printf '%s\n' "$@") | LC_ALL=C sort)
extra=$(LC_ALL=C comm -23 <(echo "$exported") <(echo "$expected"))
missing=$(LC_ALL=C comm -13 <(echo "$exported") <(echo "$expected"))
echo "$(grep -c . <<<"$exported" || true) exports in $(basename "$dll"), $(wc -l <<<"$expected") in the contract"
status=0
if [ -n "$extra" ]; then echo "exported but not in the contract:"; echo "$extra"; status=1; fi
if [ -n "$missing" ]; then
  echo "$(wc -l <<<"$missing") functions of the contract are not exported:"; echo "$missing"; status=1
fi
exit $status

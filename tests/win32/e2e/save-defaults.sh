#!/usr/bin/env bash
# End-to-end under Wine: the real Ravik1.exe saves its start settings into
# slot 1 of drive D:, which the prepared prefix (scripts/test-windows) maps
# to a folder as a removable drive labelled STICK, and the 19 bytes are
# checked, as is the label in the drive list.
#   save-defaults.sh RAVIK1_EXE DRIVER_EXE WORK_DIR     (WINEPREFIX set)
set -euo pipefail
exe=$1 driver=$2 work=$3
: "${WINEPREFIX:?WINEPREFIX must name the prepared prefix}"
export WINEDEBUG=${WINEDEBUG:--all}
stick=$(readlink -f "$WINEPREFIX/dosdevices/d:" 2>/dev/null) || true
if [ -z "$stick" ] || [ ! -f "$stick/.windows-label" ]; then
  echo "D: is not the test stick of the prefix; prepare it with scripts/test-windows" >&2
  exit 1
fi
rm -f "$stick"/Config*.ini
mkdir -p "$work"

timeout 60 wine "$exe" &
app=$!
timeout 60 wine "$driver" D: | tee "$work/e2e-entries.txt"
wait $app || true

expected='00 60 06 00 00 03 50 4c 41 59 46 49 4c 45 2e 54 58 54 01'
actual=$(od -An -v -tx1 "$stick/Config1.ini" | tr -s ' \n' ' ' | sed 's/^ //;s/ $//')
echo "Config1.ini: $actual"
[ "$actual" = "$expected" ] || { echo "expected:    $expected" >&2; exit 1; }
grep -q '^drive entry: D: STICK' "$work/e2e-entries.txt" || { echo "no 'D: STICK' in the drive list" >&2; exit 1; }
echo "e2e: defaults saved to D:\\Config1.ini"

#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the window program with no display to reach: what only prints still prints,
# and anything else ends with one line that says why.
#
# usage: without_display_test.sh PROGRAM VERSION
set -uo pipefail

program=$1
version=$2
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# arguments | exit status | the start of standard output | the start of standard error
while IFS='|' read -r arguments status out err; do
  # shellcheck disable=SC2086 # the arguments are split on purpose
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" $arguments >stdout.txt 2>stderr.txt
  got=$?
  [ "$got" -eq "$status" ] || { echo "pixmold $arguments: exit $got, not $status"; failed=1; }
  [[ "$(cat stdout.txt)" == "$out"* ]] || { echo "pixmold $arguments: standard output:"; cat stdout.txt; failed=1; }
  [[ "$(cat stderr.txt)" == "$err"* ]] || { echo "pixmold $arguments: standard error:"; cat stderr.txt; failed=1; }
  [ -n "$err" ] || [ ! -s stderr.txt ] || { echo "pixmold $arguments: said"; cat stderr.txt; failed=1; }
  [ "$(wc -l <stderr.txt)" -le 1 ] || { echo "pixmold $arguments: more than one line"; failed=1; }
done <<EOF_CASES
--help|0|Usage: |
--version|0|Pixmold $version|
|1||pixmold: no display:
sheet.bmp|1||pixmold: no display:
EOF_CASES
exit "$failed"

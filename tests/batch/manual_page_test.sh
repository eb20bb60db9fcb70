#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every option that `pixmold-batch --help` prints is described in its manual page.
#
# usage: manual_page_test.sh PIXMOLD_BATCH MANUAL_PAGE
set -euo pipefail

program=$1
page=$2

help=$("$program" --help)
# The page as a reader sees its words: roff's escaped hyphens and font changes undone.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")

long=$(grep -oE -- '--[[:alnum:]][[:alnum:]-]*' <<<"$help" | sort -u)
short=$(grep -oE -- '^ +-[[:alnum:]],' <<<"$help" | tr -d ' ,' | sort -u)
[ -n "$long" ] || { echo "no options found in --help"; exit 1; }

missing=0
for option in $long $short; do
  if ! grep -qE -- "(^|[^[:alnum:]-])$option([^[:alnum:]-]|\$)" <<<"$text"; then
    echo "$(basename "$page"): $option is not described"
    missing=1
  fi
done
exit "$missing"

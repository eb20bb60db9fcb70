#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a desktop metadata validator on FILE; skipped (77) where it is not installed.
# desktop-file-validate passes with its warnings and hints printed, so any output
# fails here too. appstreamcli given an installed prefix checks that the metainfo
# finds its desktop entry and icon there as well.
#
# usage: validate.sh desktop-file-validate|appstreamcli FILE|PREFIX
set -euo pipefail

tool=$1
file=$2
command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
case $tool in
  desktop-file-validate)
    report=$(desktop-file-validate "$file" 2>&1) || { echo "$report"; exit 1; }
    [ -z "$report" ] || { echo "$report"; exit 1; }
    ;;
  appstreamcli)
    if [ -d "$file" ]; then
      appstreamcli validate-tree --no-net --explain "$file"
    else
      appstreamcli validate --no-net --explain "$file"
    fi
    ;;
  *)
    echo "validate.sh: no rule for $tool"
    exit 1
    ;;
esac

#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into PREFIX and checks that a desktop finds what it needs there:
# both programs, a menu entry that starts the window, and that entry's icon.
#
# usage: install_test.sh CMAKE BUILD_FOLDER PREFIX
set -euo pipefail

cmake=$1
build=$2
prefix=$3

rm -rf "${prefix:?}"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

failed=0
expect_file() {
  if [ ! -f "$prefix/$1" ]; then
    echo "missing: $1"
    failed=1
  fi
}
expect_file bin/pixmold
expect_file bin/pixmold-batch
expect_file share/applications/pixmold.desktop
expect_file share/icons/hicolor/32x32/apps/pixmold.png
[ "$failed" -eq 0 ] || exit 1

entry="$prefix/share/applications/pixmold.desktop"
key() {
  sed -n "s/^$1=//p" "$entry"
}
[ "$(head -n 1 "$entry")" = "[Desktop Entry]" ] || { echo "pixmold.desktop: no [Desktop Entry] group first"; exit 1; }
[ "$(key Type)" = "Application" ] || { echo "pixmold.desktop: Type is not Application"; exit 1; }
# The program takes no arguments, so the entry passes none.
[ "$(key Exec)" = "pixmold" ] || { echo "pixmold.desktop: Exec is '$(key Exec)', not pixmold"; exit 1; }
[ -x "$prefix/bin/$(key Exec)" ] || { echo "pixmold.desktop: Exec names no installed program"; exit 1; }
[ -f "$prefix/share/icons/hicolor/32x32/apps/$(key Icon).png" ] \
  || { echo "pixmold.desktop: Icon '$(key Icon)' names no installed icon"; exit 1; }
echo "installed into $prefix"

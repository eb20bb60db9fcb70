#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into PREFIX and checks that a desktop finds what it needs there:
# both programs, a menu entry that starts the window with a file, that entry's icon in
# every size, the metainfo, and the manual pages.
#
# usage: install_test.sh CMAKE BUILD_FOLDER PREFIX APP_ID
set -euo pipefail

cmake=$1
build=$2
prefix=$3
id=$4

rm -rf "${prefix:?}"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

sizes=(16 22 24 32 48 64 128 256)
failed=0
expect_file() {
  if [ ! -f "$prefix/$1" ]; then
    echo "missing: $1"
    failed=1
  fi
}
expect_file bin/pixmold
expect_file bin/pixmold-batch
expect_file "share/applications/$id.desktop"
expect_file "share/metainfo/$id.metainfo.xml"
expect_file "share/icons/hicolor/scalable/apps/$id.svg"
for size in "${sizes[@]}"; do
  expect_file "share/icons/hicolor/${size}x${size}/apps/$id.png"
done
expect_file share/man/man1/pixmold.1.gz
expect_file share/man/man1/pixmold-batch.1.gz
[ "$failed" -eq 0 ] || exit 1

entry="$prefix/share/applications/$id.desktop"
key() {
  sed -n "s/^$1=//p" "$entry"
}
[ "$(head -n 1 "$entry")" = "[Desktop Entry]" ] || { echo "$id.desktop: no [Desktop Entry] group first"; exit 1; }
[ "$(key Type)" = "Application" ] || { echo "$id.desktop: Type is not Application"; exit 1; }
# A file manager passes the one file chosen.
[ "$(key Exec)" = "pixmold %f" ] || { echo "$id.desktop: Exec is '$(key Exec)', not 'pixmold %f'"; exit 1; }
program=$(key Exec | cut -d ' ' -f 1)
[ -x "$prefix/bin/$program" ] || { echo "$id.desktop: Exec names no installed program"; exit 1; }
[ "$(key Icon)" = "$id" ] || { echo "$id.desktop: Icon is '$(key Icon)', not $id"; exit 1; }
for type in image/bmp image/png; do
  key MimeType | tr ';' '\n' | grep -qx "$type" || { echo "$id.desktop: MimeType lacks $type"; exit 1; }
done

# Every PNG is the size its folder says.
for size in "${sizes[@]}"; do
  header=$(od -An -tx1 -j16 -N8 "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" | tr -d ' \n')
  [ "$header" = "$(printf '%08x%08x' "$size" "$size")" ] \
    || { echo "${size}x${size}/apps/$id.png: not $size x $size pixels"; exit 1; }
done

metainfo="$prefix/share/metainfo/$id.metainfo.xml"
grep -q "<id>$id</id>" "$metainfo" || { echo "$id.metainfo.xml: its id is not $id"; exit 1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
  || { echo "$id.metainfo.xml: does not launch $id.desktop"; exit 1; }
echo "installed into $prefix"

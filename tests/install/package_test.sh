#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the Debian package from the build folder into WORK and checks its name, its
# file list and that dpkg-shlibdeps filled in its dependencies. Skipped (77) where the
# Debian tools cpack calls are missing.
#
# usage: package_test.sh CPACK BUILD_FOLDER WORK VERSION APP_ID
set -euo pipefail

cpack=$1
build=$2
work=$3
version=$4
id=$5

for tool in dpkg dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done

rm -rf "${work:?}"
mkdir -p "$work"
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi

package="$work/pixmold_${version}_$(dpkg --print-architecture).deb"
[ -f "$package" ] || { echo "no $(basename "$package"); made:"; ls "$work"; exit 1; }

files=$(dpkg-deb --contents "$package" | awk '{ print $NF }')
failed=0
expect() {
  grep -qx "./usr/$1" <<<"$files" || { echo "$(basename "$package") lacks /usr/$1"; failed=1; }
}
expect bin/pixmold
expect bin/pixmold-batch
expect "share/applications/$id.desktop"
expect "share/metainfo/$id.metainfo.xml"
expect "share/icons/hicolor/scalable/apps/$id.svg"
for size in 16 22 24 32 48 64 128 256; do
  expect "share/icons/hicolor/${size}x${size}/apps/$id.png"
done
expect share/man/man1/pixmold.1.gz
expect share/man/man1/pixmold-batch.1.gz

depends=$(dpkg-deb --field "$package" Depends)
[ -n "$depends" ] || { echo "Depends is empty"; failed=1; }
for library in libqt6gui6 libqt6widgets6; do
  grep -q "\\b$library\\b" <<<"$depends" || { echo "Depends does not name $library: $depends"; failed=1; }
done
[ "$failed" -eq 0 ] || exit 1
echo "$(basename "$package"): Depends: $depends"

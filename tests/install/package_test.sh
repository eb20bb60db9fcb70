#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the Debian package from the build folder into WORK and checks its name, its
# file list, its copyright and changelog, the metainfo's release, that dpkg-shlibdeps
# filled in its dependencies, and that lintian finds no error. Skipped (77) where the
# Debian tools cpack calls are missing, and after every other check where lintian is.
#
# usage: package_test.sh CPACK BUILD_FOLDER WORK VERSION APP_ID
set -euo pipefail

cpack=$1
build=$2
work=$3
version=$4
id=$5

for tool in dpkg dpkg-deb dpkg-shlibdeps dpkg-parsechangelog; do
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
expect share/doc/pixmold/copyright
expect share/doc/pixmold/changelog.gz

unpacked="$work/unpacked"
dpkg-deb --extract "$package" "$unpacked"
doc="$unpacked/usr/share/doc/pixmold"
[ "$(head -n 1 "$doc/copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] \
  || { echo "copyright: not in the machine-readable format"; failed=1; }
grep -qx "License: Expat" "$doc/copyright" || { echo "copyright: no Expat (MIT) licence"; failed=1; }
gzip -dc "$doc/changelog.gz" >"$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] \
  || { echo "changelog.gz: its latest entry is not $version"; failed=1; }
grep -q "<release version=\"$version\" date=\"" "$unpacked/usr/share/metainfo/$id.metainfo.xml" \
  || { echo "$id.metainfo.xml: no release $version with a date"; failed=1; }

depends=$(dpkg-deb --field "$package" Depends)
[ -n "$depends" ] || { echo "Depends is empty"; failed=1; }
for library in libqt6gui6 libqt6widgets6 libgif7; do
  grep -q "\\b$library\\b" <<<"$depends" || { echo "Depends does not name $library: $depends"; failed=1; }
done
[ "$failed" -eq 0 ] || exit 1
echo "$(basename "$package"): Depends: $depends"

command -v lintian >/dev/null || { echo "lintian is not installed"; exit 77; }
# Its warnings are printed; the ones left are explained in cmake/Packaging.cmake.
lintian --fail-on error "$package"

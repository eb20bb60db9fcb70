#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the built pixmold on a virtual X server and uses it as a person would, with real
# key presses and a real click: load a sheet, make it NPC-compatible, change a colour,
# save, exit. The saved file must equal what the same operations give in-process.
#
# usage: real_window_test.sh PIXMOLD WINDOW_PROBE OUTPUT_FOLDER
set -euo pipefail

pixmold=$1
X11_PROBE=$2
X11_OUT=$3
source "$(dirname "$0")/x11_session.sh"

if ! x11_have_tools; then
  echo "skipped: Xvfb and xdotool are needed (Debian packages xvfb, xdotool)"
  exit 77
fi

rm -rf "${X11_OUT:?}"
mkdir -p "$X11_OUT"
x11_cleanup_on_exit

sprites=2
columns=3
pick_x=36 # a pixel of the background red in the converted sheet's middle cell
pick_y=84
new_colour='#1e90c8'
sheet="$X11_OUT/sheet.bmp"
saved="$X11_OUT/saved.bmp"
export QT_QPA_PLATFORM=offscreen
"$X11_PROBE" sheet "$sheet"
"$X11_PROBE" expect "$sheet" "$sprites" "$columns" "$pick_x" "$pick_y" "$new_colour" \
  "$X11_OUT/expected-converted.bmp" "$X11_OUT/expected-final.bmp"

x11_step "start"
x11_start_display
x11_start_pixmold "$pixmold"

x11_step "load with Ctrl+L"
x11_focus "$X11_MAIN"
x11_key ctrl+l
x11_answer '^Open$' "$sheet"
x11_wait_picture "$sheet"

x11_step "NPC conversion with F2"
x11_focus "$X11_MAIN"
x11_key F2
x11_answer '^Sprite Count$' "$sprites"
x11_answer '^Animation Columns$' "$columns"
x11_wait_picture "$X11_OUT/expected-converted.bmp" --settled

x11_step "colour replacement with F4"
x11_focus "$X11_MAIN"
x11_key F4
x11_answer '^Tarnel$' ""
xdotool mousemove --sync $((X11_PICTURE_X + pick_x)) $((X11_PICTURE_Y + pick_y)) click 1 \
  || x11_fail "xdotool could not click"
x11_wait_window '^Select Color$'
x11_focus "$X11_WINDOW"
x11_key alt+h ctrl+a # to the dialog's "HTML:" field, its text selected
x11_answer '^Select Color$' "$new_colour"
x11_wait_picture "$X11_OUT/expected-final.bmp" --settled

x11_step "save with Ctrl+S"
x11_focus "$X11_MAIN"
x11_key ctrl+s
x11_answer '^Save As$' "$saved"
x11_poll "$saved to be written" test -s "$saved"
"$X11_PROBE" compare "$X11_OUT/expected-final.bmp" "$saved" \
  || x11_fail "the saved sheet differs from the in-process result"

x11_step "exit with Ctrl+X"
x11_focus "$X11_MAIN"
x11_key ctrl+x
x11_answer '^Tarnel$' ""
x11_wait_exit
[ "$X11_EXIT_STATUS" -eq 0 ] || x11_fail "pixmold ended with status $X11_EXIT_STATUS"

x11_log "passed"

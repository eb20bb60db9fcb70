# SPDX-License-Identifier: MIT
# Runs Pixmold on a private virtual X server and drives it with real input events.
# Sourced by the X11 test and by tools/screenshot. Every wait is a poll with a limit;
# a wait that runs out grabs the screen next to the caller's output and exits 1.
#
# The caller sets X11_OUT (a folder for logs and screenshots) and X11_PROBE (the
# window_probe helper), then calls x11_start_display and x11_start_pixmold.

X11_TIMEOUT=${X11_TIMEOUT:-30}  # seconds any one wait may take
X11_XVFB_PID=""
X11_PIXMOLD_PID=""
X11_STEP="start"

x11_have_tools() {
  command -v Xvfb >/dev/null && command -v xdotool >/dev/null
}

x11_log() {
  echo "[$(date +%H:%M:%S.%3N)] $*"
}

# Ends what this session started, the program first. Runs from the EXIT trap, where
# a failing command must not cut the cleanup short.
x11_cleanup() {
  local pid tries
  for pid in "$X11_PIXMOLD_PID" "$X11_XVFB_PID"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    for ((tries = 0; tries < 50; tries++)); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  X11_PIXMOLD_PID=""
  X11_XVFB_PID=""
}

# Cleans up however the caller's script ends, interrupted included.
x11_cleanup_on_exit() {
  trap x11_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
}

# Fails the current step: keeps a picture of the screen and the program's output.
x11_fail() {
  local shot
  shot="$X11_OUT/failure-$(echo "$X11_STEP" | tr -c 'A-Za-z0-9\n' '-').png"
  echo "FAILED at step '$X11_STEP': $*" >&2
  if [ -n "$X11_XVFB_PID" ] && timeout 10 "$X11_PROBE" grab "$shot"; then
    echo "screenshot of the screen: $shot" >&2
  else
    echo "no screenshot: the X server is gone" >&2
  fi
  if [ -s "$X11_OUT/pixmold.log" ]; then
    echo "--- pixmold's output:" >&2
    cat "$X11_OUT/pixmold.log" >&2
  fi
  exit 1
}

x11_step() {
  X11_STEP="$1"
  x11_log "$1"
}

# Polls a command until it succeeds; its output goes to X11_POLLED. With
# X11_NEEDS_PROGRAM=1 the wait is for something only a running pixmold can bring, so
# its end fails the wait at once.
x11_poll() {
  local what="$1"
  shift
  local deadline=$((SECONDS + X11_TIMEOUT)) status
  while :; do
    if X11_POLLED=$("$@" 2>/dev/null); then
      return 0
    fi
    if [ "${X11_NEEDS_PROGRAM:-0}" = 1 ] && [ -n "$X11_PIXMOLD_PID" ] && x11_not_running "$X11_PIXMOLD_PID"; then
      status=0
      wait "$X11_PIXMOLD_PID" || status=$?
      X11_PIXMOLD_PID=""
      x11_fail "pixmold ended (status $status) while waiting for $what"
    fi
    [ "$SECONDS" -lt "$deadline" ] || x11_fail "timed out after ${X11_TIMEOUT}s waiting for $what"
    sleep 0.1
  done
}

# The private server: -displayfd picks a free display and reports it once it is ready.
x11_start_display() {
  mkdir -p "$X11_OUT"
  rm -f "$X11_OUT/display"
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$X11_OUT/display" \
    >"$X11_OUT/xvfb.log" 2>&1 &
  X11_XVFB_PID=$!
  x11_poll "the X server" test -s "$X11_OUT/display"
  export DISPLAY=":$(head -n 1 "$X11_OUT/display")"

  # Nothing of the desktop that runs the test may reach the program: no platform theme
  # (its native dialogs would replace Qt's), no scaling, no settings written at home.
  unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
    QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI \
    XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID \
    DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  export XDG_CONFIG_HOME="$X11_OUT/config" XDG_CACHE_HOME="$X11_OUT/cache"
  export XDG_RUNTIME_DIR="$X11_OUT/runtime"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  x11_log "X server on $DISPLAY"
}

# Sets X11_MAIN to the main window's id.
x11_start_pixmold() {
  "$1" >"$X11_OUT/pixmold.log" 2>&1 &
  X11_PIXMOLD_PID=$!
  x11_wait_window '^Pixmold by Dorvane$'
  X11_MAIN=$X11_WINDOW
}

# Sets X11_WINDOW to the id of the shown window whose title matches the pattern, once
# there is one.
x11_wait_window() {
  X11_NEEDS_PROGRAM=1 x11_poll "a window titled $1" timeout 10 xdotool search --onlyvisible --name "$1"
  X11_WINDOW=$(head -n 1 <<<"$X11_POLLED")
}

x11_gone() {
  local status=0
  timeout 10 xdotool search --onlyvisible --name "$1" >/dev/null || status=$?
  [ "$status" -eq 1 ] # found nothing; 124 would be a hung server
}

x11_wait_gone() {
  x11_poll "the window titled $1 to close" x11_gone "$1"
}

# With no window manager nobody hands out the keyboard focus: give it to the window
# the next keys are for, as a click on it would.
x11_focus() {
  timeout 10 xdotool windowfocus --sync "$1" || x11_fail "cannot give the focus to window $1"
}

x11_key() {
  xdotool key "$@" || x11_fail "xdotool key $*"
}

x11_type() {
  xdotool type --delay 20 "$1" || x11_fail "xdotool type $1"
}

# Waits for a dialog, answers it with typed text and Return, and waits for it to close.
x11_answer() {
  local title="$1" text="$2"
  x11_wait_window "$title"
  x11_focus "$X11_WINDOW"
  [ -z "$text" ] || x11_type "$text"
  x11_key Return
  x11_wait_gone "$title"
}

# Once the screen shows the picture, sets X11_PICTURE_X and X11_PICTURE_Y to the screen
# position of its corner.
x11_wait_picture() {
  X11_NEEDS_PROGRAM=1 x11_poll "the window to show $(basename "$1")" timeout 20 "$X11_PROBE" find "$@"
  read -r X11_PICTURE_X X11_PICTURE_Y <<<"$X11_POLLED"
}

# Waits for the program to end; sets X11_EXIT_STATUS.
x11_wait_exit() {
  x11_poll "pixmold to end" x11_not_running "$X11_PIXMOLD_PID"
  X11_EXIT_STATUS=0
  wait "$X11_PIXMOLD_PID" || X11_EXIT_STATUS=$?
  X11_PIXMOLD_PID=""
}

x11_not_running() {
  ! kill -0 "$1" 2>/dev/null
}

# X session helpers for driving the program on a virtual X server (Xvfb) with real input events.
# Sourced by the end-to-end test and by scripts/run; needs Xvfb, xdotool, xclip and xdpyinfo.
#
# The caller sets a trap that calls xs_stop_all, so that every exit path ends what was started.

XS_XVFB_PID=""
XS_PROGRAM_PID=""
XS_WINDOW=""
XS_DISPLAY=""

# wait_until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; 1 on timeout.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

xs_alive() { [ -n "$1" ] && kill -0 "$1" 2>/dev/null; }

# Stops a process: TERM, then KILL if it is still there after two seconds.
xs_stop() {
  local pid=$1
  xs_alive "$pid" || return 0
  kill -TERM "$pid" 2>/dev/null || true
  wait_until 2 bash -c "! kill -0 $pid" || kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

xs_stop_all() {
  xs_stop "$XS_PROGRAM_PID"
  xs_stop "$XS_XVFB_PID"
  XS_PROGRAM_PID=""
  XS_XVFB_PID=""
}

# Starts Xvfb (1280x800, 24 bits, 96 dpi) on the first free display from :99 up and exports
# DISPLAY. A display another server takes meanwhile is skipped.
xs_start_xvfb() {
  local n log=${1:-/dev/null}
  for n in $(seq 99 199); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset >>"$log" 2>&1 &
    XS_XVFB_PID=$!
    if wait_until 10 bash -c "kill -0 $XS_XVFB_PID && xdpyinfo -display :$n"; then
      XS_DISPLAY=":$n"
      export DISPLAY=$XS_DISPLAY
      return 0
    fi
    xs_stop "$XS_XVFB_PID"
    XS_XVFB_PID=""
  done
  echo "No free X display between :99 and :199." >&2
  return 1
}

# The visible top-level windows titled exactly TITLE, one id a line.
xs_windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }

# xs_start_program TITLE LOG COMMAND...: starts the program on the X server and waits up to 30 s
# for its window titled TITLE; sets XS_PROGRAM_PID and XS_WINDOW.
xs_start_program() {
  local title=$1 log=$2
  shift 2
  QT_QPA_PLATFORM=xcb "$@" >>"$log" 2>&1 &
  XS_PROGRAM_PID=$!
  local deadline=$((SECONDS + 30))
  while ((SECONDS < deadline)); do
    xs_alive "$XS_PROGRAM_PID" || {
      echo "The program ended before its window appeared." >&2
      return 1
    }
    XS_WINDOW=$(xs_windows_named "$title" | head -n 1)
    [ -n "$XS_WINDOW" ] && break
    sleep 0.1
  done
  [ -n "$XS_WINDOW" ] || {
    echo "The window \"$title\" did not appear within 30 s." >&2
    return 1
  }
  # No window manager runs: give the window the keyboard focus directly.
  xs_focus "$XS_WINDOW"
}

# xs_wait_popup: waits up to 20 s for a window of the program besides its main window, as a
# context menu is, to be shown; 1 when none is.
xs_wait_popup() {
  wait_until 20 bash -c "xdotool search --onlyvisible --pid $XS_PROGRAM_PID | grep -vqx '$XS_WINDOW'"
}

# xs_focus WINDOW: gives WINDOW the keyboard focus, waiting up to 5 s for it to take it.
xs_focus() { timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; }

# xs_click X Y: a left click at window-relative pixel (X, Y).
xs_click() {
  xdotool mousemove --window "$XS_WINDOW" "$1" "$2"
  xdotool click 1
}

# xs_key KEY...: key strokes to the window that has the focus.
xs_key() { xdotool key --delay 30 "$@"; }

# xs_type TEXT: types TEXT as key strokes.
xs_type() { xdotool type --delay 30 -- "$1"; }

XS_NOTHING_COPIED="<nothing copied>"

# xs_copy_focused: selects all in the focused box, copies it and prints the CLIPBOARD. Prints
# XS_NOTHING_COPIED when nothing reached the clipboard within 10 s (an empty box copies nothing).
xs_copy_focused() {
  local sentinel="sentinel-$RANDOM-$RANDOM" text
  printf '%s' "$sentinel" | xclip -selection clipboard -i -quiet >/dev/null 2>&1 &
  local holder=$!
  wait_until 10 bash -c "[ \"\$(timeout 1 xclip -selection clipboard -o)\" = '$sentinel' ]" || true
  xs_key ctrl+a ctrl+c
  local deadline=$((SECONDS + 10))
  text=$sentinel
  while ((SECONDS < deadline)); do
    text=$(timeout 1 xclip -selection clipboard -o 2>/dev/null) || text=$sentinel
    [ "$text" != "$sentinel" ] && break
    sleep 0.1
  done
  xs_stop "$holder"
  if [ "$text" = "$sentinel" ]; then printf '%s' "$XS_NOTHING_COPIED"; else printf '%s' "$text"; fi
}

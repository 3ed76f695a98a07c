#!/usr/bin/env bash
# End to end: drives the built program on its own Xvfb server with real key strokes and mouse
# clicks, reads the boxes through the clipboard and checks the table file in a temporary HOME.
#
#   window_e2e.sh PATH_TO_PROGRAM
#
# Prints one line per check and "N passed, M failed"; exits non-zero on any failure.
set -uo pipefail

program=${1:?usage: window_e2e.sh PATH_TO_PROGRAM}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR
source "$here/xsession.bash"
# shellcheck source=../checks.bash
source "$here/../checks.bash"

for tool in Xvfb xdotool xclip xdpyinfo; do
  command -v "$tool" >/dev/null || {
    echo "FAIL: $tool is not installed (scripts/setup installs it)."
    exit 1
  }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/window_e2e.XXXXXX")
# shellcheck disable=SC2317  # called by the trap
cleanup() {
  xs_stop_all
  rm -rf "$work"
}
trap cleanup EXIT
# ctest runs this under `timeout`, whose TERM ends the test, cleanup included, well before the
# harness would kill it outright.
trap 'echo "FAIL interrupted or out of time"; echo "$passed passed, $((failed + 1)) failed"; exit 130' INT TERM

export HOME=$work/home
mkdir -p "$HOME"
table=$HOME/Viscosity.txt

# check NAME EXPECTED ACTUAL
check() {
  if [ "$2" = "$3" ]; then pass "$1: \"$3\""; else fail "$1: expected \"$2\", got \"$3\""; fi
}
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
  exit $?
}
abort() {
  fail "$1"
  [ -s "$work/program.log" ] && sed 's/^/  program: /' "$work/program.log" | tail -n 20
  finish
}

# Centres of the controls in window pixels: twips / 15, containers' offsets added.
declare -A at=(
  [visc40]="244 82" [visc100]="244 120" [temp1]="65 190" [temp2]="164 190" [gravity]="754 85"
  [visc1]="65 272" [visc2]="166 273" [dynamic1]="604 228" [dynamic2]="730 229"
  [calculateButton]="342 226" [lubricantList]="358 78"
)
click() {
  local x y
  read -r x y <<<"${at[$1]}"
  xs_click "$x" "$y"
}
read_box() {
  click "$1"
  xs_copy_focused
}
set_box() {
  click "$1"
  xs_key ctrl+a BackSpace
  xs_type "$2"
}
check_boxes() {  # check_boxes LABEL name=value...
  local label=$1 pair
  shift
  for pair in "$@"; do check "$label: ${pair%%=*}" "${pair#*=}" "$(read_box "${pair%%=*}")"; done
}
table_sum() { md5sum "$table" 2>/dev/null | cut -d' ' -f1; }
# calculate: clicks the button and waits up to 20 s for the table file to change.
calculate() {
  local before
  before=$(table_sum)
  click calculateButton
  wait_until 20 bash -c "[ -s '$table' ] && [ \"\$(md5sum '$table' | cut -d' ' -f1)\" != '$before' ]"
}
# table_row TEMPERATURE: the viscosity field of that row.
table_row() { awk -F'\t' -v t="$1" '$1 == t { sub(/\r$/, "", $2); print $2 }' "$table"; }
check_table() {  # check_table LABEL VISCOSITY_AT_-40
  local lines crlf
  lines=$(wc -l <"$table")
  crlf=$(grep -c $'\r$' "$table")
  check "$1: table lines" 60 "$lines"
  check "$1: lines ending CR LF" 60 "$crlf"
  check "$1: header" $' Temp, C\t viscosity, cSt' "$(head -n 1 "$table" | tr -d '\r')"
  check "$1: -40.0 row" "$2" "$(table_row -40.0)"
  check "$1: last row" "250.0" "$(tail -n 1 "$table" | cut -f1)"
}

echo "# X server"
xs_start_xvfb "$work/xvfb.log" || abort "Xvfb did not start"
pass "Xvfb on $DISPLAY"

echo "# start"
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  xs_start_program Tervane "$work/program.log" "$program" || abort "the window Tervane appears"
pass "window Tervane is shown"
geometry=$(xdotool getwindowgeometry "$XS_WINDOW" | awk '/Geometry/ { print $2 }')
check "client area" 891x431 "$geometry"
check_boxes "at start" visc40=320 visc100=35 temp1=71 temp2=150 gravity=0.87
click temp1
xs_key Return
# The program handles events in order: once the box's text is copied, it has handled the Return.
xs_copy_focused >/dev/null
if [ -e "$table" ]; then fail "Enter in a box does not press the button"; else pass "Enter in a box does not press the button"; fi

echo "# calculate with the starting values"
calculate || abort "the table file is written after pressing the button"
pass "pressing the button writes $table"
check_boxes "typical oil" visc1=85.642 visc2=11.987 dynamic1=.0000108 dynamic2=.00000151
check_table "typical oil" 412,753.932

echo "# the context menu, the chart window and copying the results"
chart_title="Viscosity-temperature chart"
chart_window() { xs_windows_named "$chart_title" | head -n 1; }
# close_chart: Ctrl+W in the chart window, then the main window takes the keyboard again.
close_chart() {
  local chart
  chart=$(chart_window)
  [ -n "$chart" ] && xs_focus "$chart" && xs_key ctrl+w
  wait_until 20 bash -c "[ -z \"\$(xdotool search --onlyvisible --name '^$chart_title\$')\" ]"
  local closed=$?
  xs_focus "$XS_WINDOW"
  return $closed
}
# A right-click on the free strip above the frames, then the menu's first entry.
xdotool mousemove --window "$XS_WINDOW" 440 10
xdotool click 3
if xs_wait_popup; then
  xs_key Down Return
else
  fail "a right-click on the free strip opens the menu"
fi
if wait_until 20 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^$chart_title\$')\" ]"; then
  pass "a right-click and the menu's first entry open the chart window"
else
  fail "a right-click and the menu's first entry open the chart window"
fi
if close_chart; then pass "Ctrl+W closes the chart window"; else fail "Ctrl+W closes the chart window"; fi
xs_key ctrl+g
if wait_until 20 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^$chart_title\$')\" ]"; then
  pass "Ctrl+G opens the chart window"
else
  fail "Ctrl+G opens the chart window"
fi
close_chart || fail "the chart window closes again"
click temp1
xs_key ctrl+shift+c
wait_until 10 bash -c "timeout 1 xclip -selection clipboard -o | grep -q 85.642" || true
copied=$(timeout 1 xclip -selection clipboard -o 2>/dev/null | tail -n 1)
check "Ctrl+Shift+C copies the results" $'320\t35\t71\t150\t0.87\t85.642\t11.987\t.0000108\t.00000151' "$copied"

echo "# pick SHC 624 from the list with the arrow keys"
click lubricantList
xs_key Down
picked=$(xs_copy_focused)
for _ in $(seq 1 12); do
  [ "$picked" = "SHC 624" ] && break
  xs_key Up
  picked=$(xs_copy_focused)
done
check "list pick" "SHC 624" "$picked"
check_boxes "SHC 624" visc40=31 visc100=5.8 gravity=0.85 temp1=71 visc1=85.642
calculate || abort "the table file changes after the second press"
pass "the second press rewrites the table file"
check_boxes "SHC 624" visc1=11.247 visc2=2.685 dynamic1=.00000139 dynamic2=.00000033
check_table "SHC 624" 18,291.500

echo "# a bad specific gravity"
set_box gravity abc
sum_before=$(table_sum)
click calculateButton
report=""
# shellcheck disable=SC2317  # called through wait_until
find_report() {
  report=$(xs_windows_named Tervane | grep -vx "$XS_WINDOW" | head -n 1)
  [ -n "$report" ]
}
if wait_until 20 find_report; then
  pass "the report window appears"
  xs_focus "$report"
  xs_key Return
  if wait_until 20 bash -c "! xdotool search --onlyvisible --name '^Tervane\$' | grep -qx '$report'"; then
    pass "Return dismisses the report"
  else
    fail "Return dismisses the report"
    xdotool windowunmap "$report" 2>/dev/null || true
  fi
else
  fail "the report window appears"
fi
if xs_alive "$XS_PROGRAM_PID"; then pass "the program runs on"; else abort "the program runs on"; fi
check "failed calculation leaves the table file" "$sum_before" "$(table_sum)"
# The focus is back in the gravity box with its text selected: typing replaces it.
xs_focus "$XS_WINDOW"
xs_type 0.87
check_boxes "after the report" gravity=0.87 visc1=11.247 dynamic1=.00000139

echo "# the program still answers"
set_box visc40 320
set_box visc100 35
set_box gravity 0.87
calculate || abort "the table file changes after the report"
pass "pressing the button after the report rewrites the table file"
check_boxes "typical oil again" visc1=85.642 visc2=11.987 dynamic1=.0000108 dynamic2=.00000151
check_table "typical oil again" 412,753.932
if xs_alive "$XS_PROGRAM_PID"; then pass "the program is alive at the end"; else fail "the program is alive at the end"; fi

finish

#!/usr/bin/env bash
# viscosity.exe under Wine against the Linux build: every command in every format for every
# catalogue oil gives the same standard output, standard error and exit status; `table -o` and
# `chart -o` write the same bytes, also to a file named with letters beyond ASCII. One difference
# is tolerated, and said: the last digits of the unrounded viscosity index in CSV and JSON, which
# the C libraries' log10 may give one unit apart in the last place (same_but_last_digits.py).
# Usage: same_output.sh LINUX_VISCOSITY WINDOWS_VISCOSITY_EXE WINE_RUN
set -uo pipefail
linux="$1"
windows="$2"
wine_run="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The prefix of the build, whose one Wine server scripts/test keeps for the whole stage.
export WINEPREFIX="${WINEPREFIX:-$(dirname "$windows")/../wineprefix}"
failures=0
compared=0
tolerated=0
here="$(cd "$(dirname "$0")" && pwd)"

# same ARGS...: both programs with the same arguments, from the same folder.
same() {
  local status_l=0 status_w=0
  (cd "$work" && "$linux" "$@") >"$work/l.out" 2>"$work/l.err" || status_l=$?
  (cd "$work" && "$wine_run" "$windows" "$@") >"$work/w.out" 2>"$work/w.err" || status_w=$?
  compared=$((compared + 1))
  if ! cmp -s "$work/l.out" "$work/w.out" && cmp -s "$work/l.err" "$work/w.err" &&
    [ "$status_l" = "$status_w" ] &&
    python3 "$here/same_but_last_digits.py" "$work/l.out" "$work/w.out" >"$work/tolerated"; then
    tolerated=$((tolerated + 1))
    echo "SAME BUT THE UNROUNDED INDEX'S LAST DIGITS: viscosity $*"
    cat "$work/tolerated"
    return
  fi
  if ! cmp -s "$work/l.out" "$work/w.out" || ! cmp -s "$work/l.err" "$work/w.err" ||
    [ "$status_l" != "$status_w" ]; then
    failures=$((failures + 1))
    echo "DIFFERENT: viscosity $* (exit $status_l on Linux, $status_w on Windows)"
    diff "$work/l.out" "$work/w.out" | head -5
    diff "$work/l.err" "$work/w.err" | head -5
    # Whether the difference repeats tells a fault of the program from one of the run under Wine.
    local status_again=0
    (cd "$work" && "$wine_run" "$windows" "$@") >"$work/w2.out" 2>"$work/w2.err" || status_again=$?
    if cmp -s "$work/l.out" "$work/w2.out" && cmp -s "$work/l.err" "$work/w2.err" &&
      [ "$status_l" = "$status_again" ]; then
      echo "  run again under Wine, it gave the Linux output (exit $status_again)"
    else
      echo "  run again under Wine, it differed again (exit $status_again)"
    fi
  fi
}

# same_file NAME ARGS...: both programs write NAME (given to them after -o); the bytes match.
same_file() {
  local name="$1"
  shift
  same "$@" -o "$name"
  mv "$work/$name" "$work/linux-$name" 2>/dev/null
  (cd "$work" && "$linux" "$@" -o "$name") >/dev/null 2>&1
  mv "$work/$name" "$work/linux-$name"
  (cd "$work" && "$wine_run" "$windows" "$@" -o "$name") >/dev/null 2>&1
  compared=$((compared + 1))
  if ! cmp -s "$work/linux-$name" "$work/$name"; then
    failures=$((failures + 1))
    echo "DIFFERENT FILE: viscosity $* -o $name"
  fi
  rm -f "$work/$name" "$work/linux-$name"
}

mapfile -t oils < <("$linux" oils --format csv | tail -n +2 | cut -d, -f1)
[ "${#oils[@]}" -eq 10 ] || { echo "expected 10 catalogue oils, got ${#oils[@]}"; exit 1; }
"$linux" oils --format csv >"$work/oils.csv"

for format in text csv json; do
  same oils --format "$format"
  same batch oils.csv --at 40 --at 100 --format "$format"
  for oil in "${oils[@]}"; do
    same at -40 -0.5 25 71 150 250 --oil "$oil" --format "$format"
    same at 40 --oil "$oil" --law d341 --expansion 0.0007 --format "$format"
    same table --oil "$oil" --format "$format"
    same table --oil "$oil" --from 0 --to 120 --step 7.5 --format "$format"
    same temperature-for 100 --oil "$oil" --format "$format"
    same index --oil "$oil" --format "$format"
    same blend --oil "$oil" --with-oil "SHC 630" --fraction 0.25 --at 40 --format "$format"
    same blend --oil "$oil" --with-oil "SHC 639" --target 200 --at 40 --format "$format"
  done
done
# Refusals read the same too.
same at 40 --oil "No such oil"
same at 40 --v40 0,870 --v100 5
same table --oil "SHC 632" --format xml

# says MESSAGE ARGS...: where the Windows build differs by design, it refuses with exit status 1
# and this message.
says() {
  local expected="$1" status=0
  shift
  (cd "$work" && "$wine_run" "$windows" "$@") >"$work/w.out" 2>"$work/w.err" || status=$?
  compared=$((compared + 1))
  if [ "$status" != 1 ] || [ "$(cat "$work/w.err")" != "viscosity: $expected" ]; then
    failures=$((failures + 1))
    echo "DIFFERENT ON WINDOWS: viscosity $* (exit $status): $(cat "$work/w.err")"
  fi
}
says "PNG is not available in the Windows build; SVG is: give the chart a name ending in .svg." \
  chart --oil "SHC 632" -o chart.png
says 'Cannot write the table file C:\windows: Is a directory.' table --oil "SHC 632" -o 'C:\windows'
says 'Cannot write the chart file C:\windows: Is a directory.' chart --oil "SHC 632" -o 'C:\windows'

for oil in "${oils[@]}"; do
  same_file Viscosity.txt table --oil "$oil"
  same_file chart.svg chart --oil "$oil"
done
same_file "Öl-Tabelle.txt" table --oil "SHC 632"
same_file "Öl-Diagramm.svg" chart --oil "SHC 632" --oil "SHC 624"

echo "compared $compared runs, $failures different, $tolerated the same but for the unrounded index's last digits"
[ "$failures" -eq 0 ]

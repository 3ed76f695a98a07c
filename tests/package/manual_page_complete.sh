#!/usr/bin/env bash
# Checks that the viscosity tool's manual page holds all of its help: a part for every command
# its --help lists, and in that part every argument and option, and the example, that the
# command's own --help lists.
#
#   manual_page_complete.sh PATH_TO_VISCOSITY PAGE
#
# Prints what is missing and "N found, M missing"; exits non-zero when anything is missing.
set -uo pipefail
# The page and the help hold ν and °; read them as UTF-8 whatever the caller's locale (col
# escapes every byte past ASCII in the POSIX locale).
export LC_ALL=C.UTF-8

tool=${1:?usage: manual_page_complete.sh PATH_TO_VISCOSITY PAGE}
page=${2:?usage: manual_page_complete.sh PATH_TO_VISCOSITY PAGE}

# The page as plain text, wide enough that no entry wraps, each line trimmed.
text=$(MANWIDTH=250 man -E UTF-8 -l "$page" 2>/dev/null | col -bx |
  sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//')
[ -n "$text" ] || {
  echo "man could not render $page"
  exit 1
}

# The lines of one list of a --help text ("Options:", "Subcommands:"...), one per line.
list_of() { awk -v heading="$1" '/^[^ ].*:$/ { on = ($0 == heading); next } /^[^ ]/ { on = 0 } on && /^ +[^ ]/'; }
# The name column of a list line: what comes before the first run of two spaces, or before the
# description at column 31 when the name fills the column; "-h,--help" as "-h, --help".
name_of() {
  awk '{
    line = $0
    if (substr(line, 30, 2) ~ /^ [^ ]$/ && substr(line, 1, 29) !~ /[^ ]  /) line = substr(line, 1, 29)
    sub(/^ +/, "", line)
    sub(/  .*$/, "", line)
    sub(/ +$/, "", line)
    if (line ~ /^-[^ ,]+,--/) sub(/,--/, ", --", line)
    print line
  }'
}

found=0
missing=0
expect() {  # expect WHAT BLOCK PREFIX: a line of BLOCK starts with PREFIX
  if awk -v prefix="$3" 'index($0, prefix) == 1 { hit = 1 } END { exit !hit }' <<<"$2"; then
    found=$((found + 1))
  else
    echo "missing: $1"
    missing=$((missing + 1))
  fi
}

commands=$("$tool" --help | list_of "Subcommands:" | awk '{ print $1 }')
[ -n "$commands" ] || {
  echo "no commands in $tool --help"
  exit 1
}
for command in $commands; do
  help=$("$tool" "$command" --help)
  block=$(awk -v heading="viscosity $command:" '
    $0 == heading { on = 1; next }
    on && (/^viscosity [^ ]+:$/ || /^[A-Z][A-Z ]+$/) { exit }
    on' <<<"$text")
  if [ -z "$block" ]; then
    echo "missing: the part of viscosity $command"
    missing=$((missing + 1))
    continue
  fi
  found=$((found + 1))
  expect "viscosity $command: its description" "$block" "$(head -n 1 <<<"$help")"
  for heading in Positionals: Options:; do
    while IFS= read -r name; do
      [ -n "$name" ] && expect "viscosity $command: $name" "$block" "$name"
    done < <(list_of "$heading" <<<"$help" | name_of)
  done
  while IFS= read -r example; do
    expect "viscosity $command: the example $example" "$block" "\$ $example"
  done < <(list_of "Example:" <<<"$help" | sed 's/^ *//')
done

echo "$found found, $missing missing"
[ "$missing" -eq 0 ]

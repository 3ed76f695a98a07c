#!/bin/sh
# The help of the viscosity tool as one text for help2man, which runs this in place of the tool:
#
#   viscosity_help.sh PATH_TO_VISCOSITY --help|--version
#
# --version is the tool's own. --help rearranges the tool's general help and each command's
# --help into the layout help2man understands, without changing a word of them: the general
# description and notes, the usage of the tool and of every command, the general options, then a
# "Commands" section with each command's description, arguments, options, notes and example, and
# last the general example. The manual page thus says what the tool says and cannot drift from it.
set -eu
tool=${1:?usage: viscosity_help.sh PATH_TO_VISCOSITY --help|--version}
shift
[ "${1:-}" = --help ] || exec "$tool" "$@"

# Splits one --help text into its parts, printed as KIND<TAB>LINE:
#   usage    the "Usage:" line, without "Usage: "
#   text     the description above the usage line, and notes below the last list
#   heading  a list's heading ("Options:"), then one "entry" line per line of the list
#   example  a command line under an "Example:" or "Examples:" heading
# In a list, "-h,--help" becomes "-h, --help", which help2man sets as two options.
parts() {
  awk '
    function emit(kind, line) { printf "%s\t%s\n", kind, line }
    /^Usage: / { sub(/^Usage: +/, ""); emit("usage", $0); list = ""; next }
    /^$/ { if (list == "") emit("text", ""); next }
    /^[^ ].*:$/ { list = $0; emit("heading", $0); next }
    /^ / && list ~ /^Examples?:$/ { sub(/^ +/, ""); emit("example", $0); next }
    /^ / && list != "" {
      if ($0 ~ /^ +-[^ ,]+,--/) sub(/,--/, ", --")
      # A name that fills the first 30 columns is followed by one space only: make it two, the
      # gap help2man looks for between a name and its description.
      if (substr($0, 30, 2) ~ /^ [^ ]$/ && substr($0, 1, 29) !~ /[^ ]  /)
        $0 = substr($0, 1, 30) " " substr($0, 31)
      emit("entry", $0)
      next
    }
    { list = ""; emit("text", $0) }'
}
# The lines of one kind from parts, without the kind; runs of empty lines become one, and none
# is left at the start or the end.
only() {
  awk -F '\t' -v kind="$1" '
    $1 != kind { next }
    { sub(/^[^\t]*\t/, "") }
    $0 == "" { blank = printed; next }
    { if (blank) print ""; print; blank = 0; printed = 1 }'
}

general=$("$tool" --help | parts)
commands=$(printf '%s\n' "$general" | awk -F '\t' '
  $1 == "heading" { listing = ($2 == "Subcommands:" || $2 == "SUBCOMMANDS:" || $2 == "Commands:") }
  $1 == "entry" && listing { split($2, word, " "); print word[1] }')
[ -n "$commands" ] || {
  echo "viscosity_help.sh: no commands listed in $tool --help" >&2
  exit 1
}

# The description and notes, and the usage lines (help2man's SYNOPSIS takes "or:" lines).
printf '%s\n' "$general" | only text
printf '\nUsage: %s\n' "$(printf '%s\n' "$general" | only usage | head -n 1)"
for command in $commands; do
  printf '   or: %s\n' "$("$tool" "$command" --help | parts | only usage | head -n 1)"
done

# The general options.
printf '\nOptions:\n'
printf '%s\n' "$general" | awk -F '\t' '
  $1 == "heading" { listing = ($2 == "Options:" || $2 == "OPTIONS:") }
  $1 == "entry" && listing { print $2 }'

# Each command in a part of its own, its text indented so that help2man keeps it in that part.
printf '\n*Commands*\n\n'
for command in $commands; do
  help=$("$tool" "$command" --help | parts)
  printf 'viscosity %s:\n' "$command"
  printf '%s\n' "$help" | only text | sed 's/^./  &/'
  printf '\n'
  printf '%s\n' "$help" | only entry
  printf '\n'
  printf '%s\n' "$help" | only example | sed 's/^/  $ /'
  printf '\n'
done

# The general example.
printf 'Examples:\n'
printf '%s\n' "$general" | only example | sed 's/^/  $ /'

#!/usr/bin/env bash
# Checks a built .deb as a distribution and a system administrator would: Debian's lintian, the
# metadata and manual pages it ships, then a real install with dpkg, both programs run from
# /usr/bin, and a removal that leaves none of the package's files behind.
#
#   check_package.sh PACKAGE.deb
#
# Installs the package on this machine (as root, through sudo otherwise) and removes it again
# when it ends, pass or fail. Refuses to start when the package is already installed, so that it
# never replaces or removes an installation it did not make.
# Prints one line per check and "N passed, M failed"; exits non-zero on any failure.
set -uo pipefail

deb=${1:?usage: check_package.sh PACKAGE.deb}
[ -f "$deb" ] || {
  echo "FAIL: no package at $deb"
  exit 1
}
deb=$(realpath "$deb")
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=../e2e/xsession.bash
source "$here/../e2e/xsession.bash"
# shellcheck source=../checks.bash
source "$here/../checks.bash"

for tool in lintian appstreamcli desktop-file-validate man dpkg-deb Xvfb xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || {
    echo "FAIL: $tool is not installed (scripts/setup installs it)."
    exit 1
  }
done
if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi

required_programs=(Project1 viscosity)
package=$(dpkg-deb -f "$deb" Package)
version=$(dpkg-deb -f "$deb" Version)
if dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qv '^not-installed$'; then
  echo "FAIL: $package is already installed here; this check installs and removes its own copy."
  echo "      Remove it first: dpkg -r $package"
  exit 1
fi

installed_by_us=0
work=$(mktemp -d "${TMPDIR:-/tmp}/check_package.XXXXXX")
# shellcheck disable=SC2317  # called by the trap
cleanup() {
  xs_stop_all
  if [ "$installed_by_us" -eq 1 ]; then
    dpkg_locked -r "$package" >>"$work/dpkg.log" 2>&1 || echo "FAIL: dpkg -r $package at exit"
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "FAIL interrupted"; exit 130' INT TERM

# check NAME COMMAND...: passes when COMMAND succeeds and prints nothing; shows what it printed.
check_quiet() {
  local name=$1 out status
  shift
  out=$("$@" 2>&1)
  status=$?
  if [ "$status" -eq 0 ] && [ -z "$out" ]; then
    pass "$name"
  else
    fail "$name (exit status $status)"
    [ -n "$out" ] && printf '%s\n' "$out" | sed 's/^/  /'
  fi
}
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
  exit $?
}
# dpkg, waiting up to a minute while another package manager holds the lock.
dpkg_locked() {
  for _ in $(seq 1 30); do
    "${as_root[@]}" dpkg "$@" 2>"$work/dpkg.err" && return 0
    grep -q 'lock' "$work/dpkg.err" || break
    sleep 2
  done
  cat "$work/dpkg.err" >&2
  return 1
}
# man's and groff's warnings for one page at 80 columns; nothing when it renders cleanly.
# shellcheck disable=SC2317  # called through check_quiet
man_warnings() { { MANWIDTH=80 man --warnings -l "$1" >/dev/null; } 2>&1; }

echo "# $package $version: $deb"

echo "# lintian"
lintian -I -E --pedantic --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1
status=$?
grep -v '^running with root privileges is not recommended!$' "$work/lintian.txt" >"$work/lintian.tags"
sed 's/^/  /' "$work/lintian.tags"
if [ "$status" -eq 0 ]; then
  pass "lintian: no error or warning ($(grep -c '' "$work/lintian.tags") other tags)"
else
  fail "lintian: errors or warnings (exit status $status)"
fi

echo "# contents"
# Type, mode, owner and path of every entry, "./" removed from the path.
dpkg-deb -c "$deb" | awk '{ p = $6; sub(/^\./, "", p); if (p != "/") print substr($1, 1, 10), $2, p }' \
  | sed 's:/$::' >"$work/contents"
awk '{ print $3 }' "$work/contents" | sort >"$work/paths"
odd=$(awk '$2 != "root/root" ||
           ($1 !~ /^d/ && $1 != "-rw-r--r--" && $1 != "-rwxr-xr-x") ||
           ($1 ~ /^d/ && $1 != "drwxr-xr-x")' "$work/contents")
if [ -z "$odd" ]; then pass "every entry is root's, files 0644 or 0755, folders 0755"; else
  fail "entries with another owner or mode:"
  printf '%s\n' "$odd" | sed 's/^/  /'
fi
programs=$(awk '$3 ~ "^/usr/bin/" { sub("^/usr/bin/", "", $3); print $3 }' "$work/contents")
for program in "${required_programs[@]}"; do
  if grep -qx "$program" <<<"$programs"; then pass "/usr/bin/$program is in the package"; else
    fail "/usr/bin/$program is in the package"
  fi
done
for program in $programs; do
  if grep -qx "/usr/share/man/man1/$program.1.gz" "$work/paths"; then
    pass "$program has a manual page"
  else
    fail "$program has a manual page"
  fi
done
for doc in copyright changelog.gz; do
  if grep -qx "/usr/share/doc/$package/$doc" "$work/paths"; then pass "/usr/share/doc/$package/$doc"; else
    fail "/usr/share/doc/$package/$doc is missing"
  fi
done

# The metadata beside the files it names (the desktop entry of its launchable, the icon).
dpkg-deb -x "$deb" "$work/root"
if appstreamcli validate-tree --no-net --pedantic "$work/root" >"$work/tree.txt" 2>&1 &&
  ! grep -q '^ *[EWIP]: ' "$work/tree.txt"; then
  pass "appstreamcli validate-tree --no-net --pedantic on the package's files"
else
  fail "appstreamcli validate-tree --no-net --pedantic on the package's files"
  sed 's/^/  /' "$work/tree.txt"
fi

# Which of the package's paths exist before it is installed: /usr and its like do, its own not.
: >"$work/existing"
while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then echo "$path" >>"$work/existing"; fi
done <"$work/paths"

echo "# install"
if dpkg_locked -i "$deb" >"$work/dpkg.log" 2>&1; then
  installed_by_us=1
  pass "dpkg -i"
else
  installed_by_us=1  # a half-configured install is removed all the same
  fail "dpkg -i"
  sed 's/^/  /' "$work/dpkg.err" "$work/dpkg.log" 2>/dev/null | tail -n 20
  finish
fi
dpkg-query -L "$package" | grep -vx '/\.' | sed 's:/$::' | sort >"$work/listed"
if cmp -s "$work/paths" "$work/listed"; then
  pass "dpkg -L lists the package's $(grep -c '' "$work/listed") paths"
else
  fail "dpkg -L differs from the package's contents:"
  diff "$work/paths" "$work/listed" | sed 's/^/  /'
fi

echo "# installed metadata and manual pages"
metainfo=$(grep '^/usr/share/metainfo/.*\.metainfo\.xml$' "$work/listed")
desktop=$(grep '^/usr/share/applications/.*\.desktop$' "$work/listed")
if [ -n "$metainfo" ] && [ -n "$desktop" ]; then
  pass "AppStream metadata $metainfo and desktop entry $desktop"
  if [ "$(basename "$metainfo" .metainfo.xml)" = "$(basename "$desktop" .desktop)" ]; then
    pass "the AppStream id is the desktop entry's name"
  else
    fail "the AppStream id is the desktop entry's name"
  fi
  if appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.txt" 2>&1 &&
    ! grep -q '^[EWIP]: ' "$work/appstream.txt"; then
    pass "appstreamcli validate --no-net --pedantic: $(tail -n 1 "$work/appstream.txt")"
  else
    fail "appstreamcli validate --no-net --pedantic"
    sed 's/^/  /' "$work/appstream.txt"
  fi
  check_quiet "desktop-file-validate $desktop" desktop-file-validate "$desktop"
else
  fail "AppStream metadata and a desktop entry are installed"
fi
while read -r page; do
  check_quiet "man --warnings $page at 80 columns" man_warnings "$page"
done < <(grep '^/usr/share/man/man1/.*\.1\.gz$' "$work/listed")

echo "# the programs from /usr/bin"
if grep -qx /usr/bin/viscosity "$work/listed"; then
  out=$(/usr/bin/viscosity --version 2>&1)
  status=$?
  if [ "$status" -eq 0 ] && grep -qw -- "$version" <<<"$out"; then
    pass "/usr/bin/viscosity --version: $out"
  else
    fail "/usr/bin/viscosity --version names $version (exit status $status): $out"
  fi
fi
# The Python module, where Debian's python3 finds it, giving the tool's number.
module=$(grep -m1 '^/usr/lib/python3/dist-packages/project1\..*\.so$' "$work/listed" || true)
if [ -n "$module" ]; then
  if grep -qx /usr/lib/python3/dist-packages/project1.pyi "$work/listed"; then
    pass "the module's type stub beside it"
  else
    fail "the module's type stub beside it"
  fi
  want=$(/usr/bin/viscosity at 71 --v40 320 --v100 35 --format json | /usr/bin/python3 -c \
    'import json, sys; print(repr(json.load(sys.stdin)[0]["kinematic_cst"]))')
  got=$(cd / && env -u PYTHONPATH /usr/bin/python3 -c \
    'import project1; print(repr(project1.kinematic_at(320, 35, 71)))' 2>&1)
  if [ -n "$want" ] && [ "$got" = "$want" ]; then
    pass "/usr/bin/python3 imports $module and gives the tool's $want"
  else
    fail "/usr/bin/python3 imports $module and gives the tool's $want: $got"
  fi
fi
export HOME=$work/home
mkdir -p "$HOME"
if xs_start_xvfb "$work/xvfb.log" &&
  xs_start_program Tervane "$work/window.log" /usr/bin/Project1; then
  pass "/usr/bin/Project1 shows its window Tervane"
else
  fail "/usr/bin/Project1 shows its window Tervane"
  sed 's/^/  /' "$work/window.log" 2>/dev/null | tail -n 20
fi
xs_stop_all

echo "# remove"
if dpkg_locked -r "$package" >>"$work/dpkg.log" 2>&1; then
  installed_by_us=0
  pass "dpkg -r"
else
  fail "dpkg -r"
  sed 's/^/  /' "$work/dpkg.err"
fi
status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)
if [ -z "$status" ] || [ "$status" = not-installed ]; then pass "dpkg knows $package as not installed"; else
  fail "dpkg knows $package as \"$status\" after removal"
fi
left=$(while read -r path; do
  if { [ -e "$path" ] || [ -L "$path" ]; } && ! grep -qxF "$path" "$work/existing"; then echo "$path"; fi
done <"$work/paths")
if [ -z "$left" ]; then
  pass "nothing of the package is left ($(grep -c '' "$work/paths") paths checked)"
else
  fail "left behind after dpkg -r:"
  printf '%s\n' "$left" | sed 's/^/  /'
fi

finish

#!/usr/bin/env bash
# scripts/setup for a user who is not root: without sudo, with sudo refused, and with sudo
# allowed; which packages each group asks for. Runs the script as "nobody" when started as root,
# with a PATH holding only bash, id and stand-ins for dpkg-query and sudo: the stand-in
# dpkg-query reports every package installed but those in $MISSING, and the stand-in sudo
# records its arguments and answers with $SUDO_STATUS.
#
# "nobody" may not be able to enter the checkout (a clone in a home folder of mode 0700): the
# script runs from a copy in a fresh folder that everyone may read.
set -euo pipefail
checkout=$(cd "$(dirname "$0")/../.." && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

# copy_setup CHECKOUT: copies CHECKOUT's scripts/setup into a fresh folder that everyone may
# read, and prints the copy's path.
copy_setup() {
  local folder
  folder=$(mktemp -d "$work/checkout.XXXXXX")
  mkdir -p "$folder/scripts"
  cp "$1/scripts/setup" "$folder/scripts/setup"
  chmod -R a+rX "$folder"
  echo "$folder/scripts/setup"
}
setup=$(copy_setup "$checkout")
mkdir -m 755 "$work/bin" "$work/sudo-bin"
mkdir -m 777 "$work/log"
for tool in bash id; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
cat >"$work/bin/dpkg-query" <<'FAKE'
#!/bin/bash
# dpkg-query -W -f=FORMAT PACKAGE...: every package installed but those in $MISSING.
shift 2
for p in "$@"; do
  case " $MISSING " in
    *" $p "*) echo "$p unknown ok not-installed" ;;
    *) echo "$p install ok installed" ;;
  esac
done
FAKE
cat >"$work/sudo-bin/sudo" <<'FAKE'
#!/bin/bash
echo "sudo $*" >>"$LOG"
exit "$SUDO_STATUS"
FAKE
chmod 755 "$work/bin/dpkg-query" "$work/sudo-bin/sudo"

if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  as_user=()
fi

failures=0
# show TITLE TEXT: the text indented under its title.
show() {
  echo "  $1:"
  while IFS= read -r line; do echo "    $line"; done <<<"$2"
}

# check NAME GROUP PATH-DIRS DISPLAY MISSING SUDO-STATUS EXPECTED-STATUS EXPECTED-OUTPUT
#       EXPECTED-SUDO-CALLS [SCRIPT]: runs setup (or SCRIPT) once and compares its status, its
#       output (stdout and stderr together) and the calls of sudo.
check() {
  local name=$1 group=$2 path=$3 display=$4 missing=$5 sudo_status=$6
  local want_status=$7 want_output=$8 want_calls=$9 script=${10:-$setup}
  local log=$work/log/$RANDOM.log status=0 output calls
  : >"$log"
  chmod 666 "$log"
  output=$("${as_user[@]}" /usr/bin/env -i PATH="$path" DISPLAY="$display" MISSING="$missing" \
    SUDO_STATUS="$sudo_status" LOG="$log" "$work/bin/bash" "$script" "$group" </dev/null 2>&1) ||
    status=$?
  calls=$(cat "$log")
  if [ "$status" != "$want_status" ] || [ "$output" != "$want_output" ] ||
    [ "$calls" != "$want_calls" ]; then
    echo "FAIL $name"
    echo "  status $status, expected $want_status"
    show output "$output"
    show "expected output" "$want_output"
    show "sudo calls" "$calls"
    show "expected sudo calls" "$want_calls"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

# told PACKAGES REASON: what a user who cannot become root is told.
told() {
  printf '%s\n' "These Debian packages are needed and not installed: $1" \
    "Installing them needs the superuser, and $2." \
    "Run this one command (it asks for the root password), then run this script again:" \
    "  su -c 'apt-get update && apt-get install -y --no-install-recommends $1'"
}

no_sudo=$work/bin
with_sudo=$work/sudo-bin:$work/bin
install_calls="sudo -n true
sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends"

check "without sudo: the packages and the command for root" \
  run "$no_sudo" :1 "cmake g++" 0 1 "$(told "cmake g++" "sudo is not installed for this user")" ""
check "sudo refused: the same, and sudo asked only whether it may" \
  run "$with_sudo" :1 "cmake" 1 1 "$(told "cmake" "sudo refused this user")" "sudo -n true"
check "sudo allowed: apt-get through sudo" \
  run "$with_sudo" :1 "cmake" 0 0 "Installing: cmake" "$install_calls cmake"
check "the window's group with a display leaves out the X server and test tools" \
  run "$no_sudo" :1 "xvfb libgtest-dev qt6-base-dev" 0 1 \
  "$(told "qt6-base-dev" "sudo is not installed for this user")" ""
check "the window's group without a display takes the X server" \
  run "$no_sudo" "" "xvfb libgtest-dev qt6-base-dev" 0 1 \
  "$(told "qt6-base-dev xvfb" "sudo is not installed for this user")" ""
check "everything: window, X server and test tools, even with a display" \
  all "$no_sudo" :1 "xvfb libgtest-dev clang-format qt6-base-dev" 0 1 \
  "$(told "qt6-base-dev xvfb libgtest-dev clang-format" "sudo is not installed for this user")" ""
check "nothing missing: nothing said, sudo not asked" \
  all "$with_sudo" "" "" 1 0 "" ""
check "cross builds: clang with libc++, mingw-w64 and Wine" \
  cross "$no_sudo" :1 "wine64 libc++-dev qt6-base-dev" 0 1 \
  "$(told "libc++-dev wine64" "sudo is not installed for this user")" ""
check "everything: a package two groups share is named once" \
  all "$no_sudo" :1 "clang libfmt-dev" 0 1 \
  "$(told "libfmt-dev clang" "sudo is not installed for this user")" ""
check "the page: emscripten and the browser its tests drive" \
  web "$no_sudo" :1 "chromium emscripten qt6-base-dev" 0 1 \
  "$(told "emscripten chromium" "sudo is not installed for this user")" ""
check "the quick tests: the X server, clang and GoogleTest, not the page, Windows or the .deb" \
  test "$no_sudo" :1 "xvfb clang libgtest-dev emscripten chromium wine64 mingw-w64 lintian" 0 1 \
  "$(told "xvfb libgtest-dev clang" "sudo is not installed for this user")" ""
check "the release tests: the quick tests' packages and the .deb's tools" \
  package "$no_sudo" :1 "clang lintian emscripten wine64" 0 1 \
  "$(told "clang lintian" "sudo is not installed for this user")" ""
check "the Python module: pybind11, Python's headers, NumPy, pytest and pandas, not the window" \
  python "$no_sudo" :1 "python3-pandas pybind11-dev qt6-base-dev lintian" 0 1 \
  "$(told "pybind11-dev python3-pandas" "sudo is not installed for this user")" ""
check "an unknown group" \
  everything "$no_sudo" "" "" 0 2 "usage: scripts/setup [run|test|package|cross|web|python|all]" ""

# A checkout inside a folder that only its owner may enter, as a clone in a home folder lies.
private=$work/private
mkdir -m 700 "$private"
mkdir -p "$private/checkout/scripts"
cp "$checkout/scripts/setup" "$private/checkout/scripts/setup"
check "a checkout inside a folder of mode 0700" \
  run "$no_sudo" :1 "cmake" 0 1 "$(told "cmake" "sudo is not installed for this user")" "" \
  "$(copy_setup "$private/checkout")"

[ "$failures" -eq 0 ] || {
  echo "$failures failed"
  exit 1
}

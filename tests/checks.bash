# shellcheck shell=bash
# Counting checks for the shell tests: `pass NAME` and `fail NAME` print one line each and count
# into $passed and $failed, which a test reports at its end as "N passed, M failed".
passed=0
failed=0

pass() {
  echo "ok   $1"
  passed=$((passed + 1))
}
fail() {
  echo "FAIL $1"
  failed=$((failed + 1))
}

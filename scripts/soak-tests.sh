#!/usr/bin/env bash
# Repeats the test suites that involve threads, processes or timing, to show
# that they pass every time. Each of N rounds runs e2e_support_tests with
# --gtest_repeat=10, the Windows-layer tests once, each end-to-end test once
# and the native unit tests under ThreadSanitizer with --gtest_repeat=4; at
# the end it prints how many runs of each passed. With --busy two shell loops
# keep both cores loaded all the while. Naming suites (support, windows, e2e,
# tsan) runs only those. Logs of failed runs go to build/soak.
# Usage: scripts/soak-tests.sh N [--busy] [suite...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage="usage: scripts/soak-tests.sh N [--busy] [support|windows|e2e|tsan...]"
rounds=${1:?$usage}
shift
busy=""
chosen=()
for argument in "$@"; do
  case $argument in
    --busy) busy=--busy ;;
    support|windows|e2e|tsan) chosen+=("$argument") ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
[ ${#chosen[@]} -gt 0 ] || chosen=(support windows e2e tsan)
wanted() { [[ " ${chosen[*]} " == *" $1 "* ]]; }
build=${CORVANTA_BUILD_DIR:-$root/build}
logs=$build/soak
"$root/scripts/deps.sh"
source "$root/scripts/build-env.sh" "$root" "$build"
configure_and_build tsan "${tsan_args[@]}"
configure_and_build mingw "${mingw_args[@]}"
rm -rf "$logs"
mkdir -p "$logs"

busy_pids=()
cleanup() {
  [ ${#busy_pids[@]} -eq 0 ] || kill "${busy_pids[@]}" 2>/dev/null || true
  wine_prefix_down
  xvfb_down
}
source "$root/scripts/wine-env.sh" "$build/mingw"
source "$root/scripts/xvfb-env.sh"
trap cleanup EXIT
trap 'exit 130' INT TERM
if [ "$busy" = --busy ]; then
  for _ in 1 2; do
    ( while :; do :; done ) &
    busy_pids+=($!)
  done
fi
xvfb_up
wine_prefix_up

declare -A passed total
suites=()
tally() {  # suite, runs passed, runs made
  [ -n "${total[$1]:-}" ] || suites+=("$1")
  passed[$1]=$(( ${passed[$1]:-0} + $2 ))
  total[$1]=$(( ${total[$1]:-0} + $3 ))
}

# One program run; counts as one run, passed when it exits with 0.
run_once() {  # suite, log name, command...
  local suite=$1 log=$logs/$2.log; shift 2
  if "$@" >"$log" 2>&1; then tally "$suite" 1 1; rm -f "$log"; else tally "$suite" 0 1; fi
}

# A GoogleTest program with --gtest_repeat: counts each repetition that ran
# and passed; after a crash the ones not reached count as failed. Under Wine
# the lines end in CR LF.
run_repeated() {  # suite, log name, repetitions, command...
  local suite=$1 log=$logs/$2.log repeat=$3; shift 3
  local code=0 ran failed
  "$@" --gtest_repeat="$repeat" >"$log" 2>&1 || code=$?
  ran=$(grep -c '^\[==========\] .* ran\.' "$log" || true)
  failed=$(grep -c ' FAILED TESTS\?.\?$' "$log" || true)
  tally "$suite" $(( ran - failed )) "$repeat"
  [ "$code" -ne 0 ] || [ "$failed" -ne 0 ] || rm -f "$log"
}

e2e_tests=$(ctest --test-dir "$build/mingw" -L e2e -N | sed -n 's/^ *Test *#[0-9]*: \(e2e_[a-z_]*\)$/\1/p' | grep -v '^e2e_support$')
for round in $(seq 1 "$rounds"); do
  echo "== round $round of $rounds"
  if wanted support; then
    run_repeated "e2e_support_tests (repetitions)" "support-$round" 10 \
      wine "$build/mingw/tests/e2e/e2e_support_tests.exe"
  fi
  if wanted windows; then
    run_once "Windows-layer tests" "windows-$round" wine "$build/mingw/tests/windows/corvanta_windows_tests.exe"
  fi
  if wanted e2e; then
    for test in $e2e_tests; do
      run_once "$test" "$test-$round" ctest --test-dir "$build/mingw" -R "^$test\$" --output-on-failure
    done
  fi
  if wanted tsan; then
    run_repeated "native unit tests under TSan (repetitions)" "tsan-$round" 4 \
      "${tsan_run[@]}" "$build/tsan/tests/corvanta_unit_tests"
  fi
done

echo
echo "== Runs passed${busy:+ (both cores kept busy)}"
for suite in "${suites[@]}"; do
  echo "$suite: ${passed[$suite]} of ${total[$suite]}"
done
for suite in "${suites[@]}"; do
  [ "${passed[$suite]}" -eq "${total[$suite]}" ] || exit 1
done

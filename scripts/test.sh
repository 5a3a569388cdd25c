#!/usr/bin/env bash
# Builds and runs every test layer: the native unit tests, the same tests
# under AddressSanitizer/UBSan and ThreadSanitizer, and the mingw build with
# its unit and Windows tests under Wine, then the release zip and its check,
# and the demo.
# Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/deps.sh"
build=${CORVANTA_BUILD_DIR:-$root/build}
source "$root/scripts/build-env.sh" "$root" "$build"
results=()

run_layer() {  # name, build dir, then a command that ctest runs under (may be none)
  local name=$1 dir=$2; shift 2
  rm -rf "$build/$dir/test-results"
  mkdir -p "$build/$dir/test-results"
  echo "== $name"
  "$@" ctest --test-dir "$build/$dir" --output-on-failure
  results+=("$(python3 "$root/scripts/count_results.py" "$name" "$build/$dir/test-results")")
}

configure_and_build native -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_layer "native" native

configure_and_build asan -DCMAKE_BUILD_TYPE=Debug -DCORVANTA_SANITIZE=address,undefined
run_layer "native, ASan+UBSan" asan

configure_and_build tsan "${tsan_args[@]}"
run_layer "native, TSan" tsan "${tsan_run[@]}"

configure_and_build mingw "${mingw_args[@]}"
source "$root/scripts/wine-env.sh" "$build/mingw"
source "$root/scripts/xvfb-env.sh"
xvfb_up
trap 'wine_prefix_down; xvfb_down' EXIT
wine_prefix_up
run_layer "Windows build under Wine" mingw
wine_prefix_down

echo "== Release zip"
"$root/scripts/package.sh" --check
results+=("release zip: built and checked")

echo "== Demo"
# As on a machine without a display: on its own Xvfb, closing what it started.
env -u DISPLAY "$root/scripts/demo.sh"
results+=("demo: Notepad received the expected text")

echo
echo "== Test counts"
printf '%s\n' "${results[@]}"

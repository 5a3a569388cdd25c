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
results=()

configure_and_build() {  # dir, cmake args...
  local dir=$1; shift
  cmake -S "$root" -B "$build/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$build/$dir"
}

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

configure_and_build tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTA_SANITIZE=thread
# ThreadSanitizer cannot map its shadow memory with full address randomisation.
run_layer "native, TSan" tsan env TSAN_OPTIONS=halt_on_error=1 setarch "$(uname -m)" -R

configure_and_build mingw -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo
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

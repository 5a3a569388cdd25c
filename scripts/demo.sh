#!/usr/bin/env bash
# Shows what the program is for without a handle: under Wine, the simulated
# handle types a word into Wine's Notepad through the test build of the
# program (tests/e2e/driver/demo.py). With $DISPLAY set it runs there and the
# windows stay open until the user closes them; without one it runs on a
# private Xvfb display. It saves artifacts/demo.png, prints what Notepad
# received and exits non-zero when that is not the expected text. Installs
# what is missing first. It builds in the mingw folder under
# $CORVANTA_BUILD_DIR (default build/), as scripts/test.sh does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANTA_BUILD_DIR:-$root/build}/mingw
"$root/scripts/deps.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target e2e_programs

source "$root/scripts/wine-env.sh" "$build"
stay=()
if [ -n "${DISPLAY:-}" ]; then
  stay=(--stay)
  trap wine_prefix_down EXIT
else
  source "$root/scripts/xvfb-env.sh"
  xvfb_up
  trap 'wine_prefix_down; xvfb_down' EXIT
fi
wine_prefix_up
python3 "$root/tests/e2e/driver/demo.py" --bin "$build/tests/e2e" --work "$build/demo" \
  --picture "$root/artifacts/demo.png" "${stay[@]}"

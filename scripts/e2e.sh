#!/usr/bin/env bash
# Builds the Windows build and runs only its end-to-end tests (CTest label
# e2e): the program under Wine on a private Xvfb display, fed by the handle
# simulator. Pictures go to artifacts/e2e. Usage: scripts/e2e.sh [build-dir]
# (default build/mingw). scripts/test.sh runs these tests with all the others.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/mingw}")
"$root/scripts/deps.sh"
source "$root/scripts/build-env.sh" "$root" "$(dirname "$build")"

cmake -S "$root" -B "$build" -G Ninja "${mingw_args[@]}" >/dev/null
cmake --build "$build" --target e2e_programs

source "$root/scripts/wine-env.sh" "$build"
source "$root/scripts/xvfb-env.sh"
# The tests click and type: never on the user's own display.
xvfb_up
trap 'wine_prefix_down; xvfb_down' EXIT
wine_prefix_up
ctest --test-dir "$build" -L e2e --output-on-failure

#!/usr/bin/env bash
# Builds the program with mingw and starts it under Wine. With $DISPLAY set it
# runs on that display until the user closes it; without one it runs on a
# private Xvfb display, saves artifacts/screenshot.png and closes it again.
# Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

build="$root/build/mingw"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target CorvantaKeyPressEmulator
exe="$build/src/ui/main_window/CorvantaKeyPressEmulator.exe"

source "$root/scripts/wine-env.sh" "$build"

if [ -n "${DISPLAY:-}" ]; then
  wine_prefix_up
  trap wine_prefix_down EXIT
  wine "$exe"
  exit 0
fi

source "$root/scripts/xvfb-env.sh"
source "$root/scripts/main-window.sh"
start_on_private_display "$exe"
# Give the window time to paint before the picture is taken.
sleep 2

mkdir -p "$root/artifacts"
eval "$(xdotool getwindowgeometry --shell "$main_window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$root/artifacts/screenshot.png"
echo "screenshot: $root/artifacts/screenshot.png ($(xdotool getwindowname "$main_window"))"

quit_program

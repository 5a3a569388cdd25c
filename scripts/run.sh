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
xvfb_up
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  wine_prefix_down
  xvfb_down
}
trap cleanup EXIT
wine_prefix_up

wine "$exe" &
program_pid=$!

window=""
for _ in $(seq 1 100); do
  window=$(xdotool search --name '^Corvanta Key Press Emulator' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "the main window did not appear" >&2
  exit 1
fi
# Give the window time to paint before the picture is taken.
sleep 2

mkdir -p "$root/artifacts"
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$root/artifacts/screenshot.png"
echo "screenshot: $root/artifacts/screenshot.png ($(xdotool getwindowname "$window"))"

# Ctrl+Q closes it the way a user would; asking nothing, as no document is open.
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
for _ in $(seq 1 50); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$program_pid" 2>/dev/null; then
  echo "the program did not close; stopping it" >&2
  kill "$program_pid"
fi
wait "$program_pid" 2>/dev/null || true
program_pid=""

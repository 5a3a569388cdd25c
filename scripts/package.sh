#!/usr/bin/env bash
# Builds the release zip: a Release build of the program, stripped, with
# README.txt, in dist/CorvantaKeyPressEmulator-<version>-win64.zip.
# With --check it then checks the zip as a user gets it: exactly those two
# files, the version in the program's VERSIONINFO, and the unpacked program
# starting under Wine (private Xvfb display) and showing its window.
# Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target release_zip >/dev/null
version=$(sed -n 's/^#define CORVANTA_VERSION_TEXT "\(.*\)"/\1/p' "$build/generated/version.h")
zip="$root/dist/CorvantaKeyPressEmulator-$version-win64.zip"
echo "$zip"
[ "${1:-}" = "--check" ] || exit 0

unpacked="$build/unpacked"
rm -rf "$unpacked"
python3 "$root/tools/check_release_zip.py" "$zip" "$unpacked"

source "$root/scripts/wine-env.sh" "$build"
source "$root/scripts/xvfb-env.sh"
source "$root/scripts/main-window.sh"
start_on_private_display "$unpacked/CorvantaKeyPressEmulator.exe"
echo "the unpacked program shows its window: $(xdotool getwindowname "$main_window")"
quit_program

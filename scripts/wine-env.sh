# Sourced by the scripts: one throw-away Wine prefix under the build folder,
# without Wine's debug output, crash dialog or desktop integration.
# Usage: source scripts/wine-env.sh <build-dir>
wine_build_dir=$1
export WINEPREFIX="$wine_build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

wine_prefix_up() {
  if [ ! -f "$WINEPREFIX/.corvanta-ready" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # No window manager here: unmanaged windows avoid Wine's 2 s stall on destroy.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.corvanta-ready"
  fi
  # A warm wineserver keeps Wine's helpers from holding CTest's output pipe.
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 || true
}

wine_prefix_down() {
  wineserver -k 2>/dev/null || true
}

# Sourced by the scripts: one throw-away Wine prefix under the build folder,
# without Wine's debug output, crash dialog or desktop integration.
# Usage: source scripts/wine-env.sh <build-dir> [dpi]
# A DPI other than 96 selects a second prefix, "wineprefix-<dpi>dpi", whose
# display has that DPI, so that the first one keeps 96.
wine_build_dir=$1
wine_dpi=${2:-96}
if [ "$wine_dpi" = 96 ]; then
  export WINEPREFIX="$wine_build_dir/wineprefix"
else
  export WINEPREFIX="$wine_build_dir/wineprefix-${wine_dpi}dpi"
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Creates the prefix once; its marker file says it is complete.
wine_prefix_make() {
  if [ ! -f "$WINEPREFIX/.corvanta-ready" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # No window manager here: unmanaged windows avoid Wine's 2 s stall on destroy.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    if [ "$wine_dpi" != 96 ]; then
      wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$wine_dpi" /f >/dev/null 2>&1
    fi
    wineserver -w
    touch "$WINEPREFIX/.corvanta-ready"
  fi
}

wine_prefix_up() {
  wine_prefix_make
  # A warm wineserver keeps Wine's helpers from holding CTest's output pipe.
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 || true
}

wine_prefix_down() {
  wineserver -k 2>/dev/null || true
}

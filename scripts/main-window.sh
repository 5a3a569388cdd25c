# Sourced by the scripts, after wine-env.sh and xvfb-env.sh: the program
# started on a private Xvfb display, its main window found and closed as a
# user would. Usage: source scripts/main-window.sh
main_window=""
program_pid=""

# Starts the program under Wine on a private Xvfb display and waits for its
# main window; when the script exits, the program (if it still runs), the
# prefix and the display end with it.
start_on_private_display() {  # exe
  xvfb_up
  trap end_private_display EXIT
  wine_prefix_up
  wine "$1" &
  program_pid=$!
  wait_for_main_window
}

end_private_display() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  wine_prefix_down
  xvfb_down
}

# Waits up to 20 s for the main window to be shown with its full title, which
# start-up sets last; sets main_window to its X id.
wait_for_main_window() {
  local _
  main_window=""
  for _ in $(seq 1 100); do
    main_window=$(xdotool search --onlyvisible --name '^Corvanta Key Press Emulator.* - (Not )?Connected$' 2>/dev/null | head -n 1 || true)
    [ -n "$main_window" ] && return 0
    sleep 0.2
  done
  echo "the main window did not appear" >&2
  return 1
}

# Ctrl+Q, as a user quits; with nothing unsaved the program asks nothing.
# Waits up to 10 s for the process to end, then stops it.
quit_program() {
  local pid=$program_pid _
  xdotool windowfocus --sync "$main_window"
  xdotool key --clearmodifiers ctrl+q
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not close; stopping it" >&2
    kill "$pid"
  fi
  wait "$pid" 2>/dev/null || true
  program_pid=""
}

# Shared by the screenshot scripts (sourced; they set $root and $build): a work folder holding a
# copy of the program and its log folder, a private PulseAudio server, and the program run under
# Xvfb while a recording plays into that server.

# screenshot_session NAME: sets $work and starts the server; both go when the script exits.
screenshot_session() {
  work=$(mktemp -d "/tmp/seaherald-$1.XXXXXX")
  # shellcheck source=scripts/pulse-server.sh
  source "$root/scripts/pulse-server.sh"
  start_private_pulse
  trap 'kill $PA_PID 2>/dev/null || true; wait $PA_PID 2>/dev/null || true; rm -rf "$PA_DIR" "$work"' EXIT
  cp "$build/app/seaherald" "$work/seaherald"
  mkdir "$work/log"
}

# store NAME(UTF-8) STAMP ERRORS BODY(UTF-8, lines separated by \n): a log file as the program
# writes it, in Shift-JIS with CR LF line ends.
store() {
  printf 'Last received %s\nDetected %03d error\n-\n%b\n' "$2" "$3" "$4" |
    sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$work/log/$1.txt"
}

# grab_while_playing PLAY SECONDS OUTPUT: starts the program under Xvfb with the settings file
# in $work, runs the shell command PLAY 3 s later, and takes the window's picture SECONDS after
# PLAY returns (PLAY ending in & keeps playing meanwhile).
grab_while_playing() {
  export XDG_RUNTIME_DIR=$PA_DIR
  xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
    "$1/seaherald" >/dev/null 2>&1 &
    app=$!
    sleep 3
    eval "$2"
    sleep "$3"
    "$4/tests/gui/grab_screen" "$5" 0 0 960 680
    kill $app; wait $app 2>/dev/null || true
  ' _ "$work" "$1" "$2" "$build" "$3"
  echo "saved $3"
}

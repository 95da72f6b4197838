# Sourced by scripts/test: a private PipeWire with its PulseAudio service (as Debian 12 desktops
# run it), on a session bus of its own, with the same null sink and monitor input as the private
# PulseAudio server. Its address goes to SEAHERALD_PIPEWIRE_SERVER, not PULSE_SERVER, so that the
# tests for PulseAudio keep theirs. Call after start_private_pulse: the EXIT trap then stops both.
start_private_pipewire() {
  PW_DIR=$(mktemp -d /tmp/seaherald-pw.XXXXXX)
  chmod 700 "$PW_DIR"
  local earlier_trap
  eval "set -- $(trap -p EXIT)"
  earlier_trap=${3:-}
  PW_PIDS=()
  trap 'kill "${PW_PIDS[@]}" 2>/dev/null || true; wait "${PW_PIDS[@]}" 2>/dev/null || true;
    rm -rf "$PW_DIR"; '"$earlier_trap" EXIT
  # WirePlumber ends at once without a session bus.
  (
    export XDG_RUNTIME_DIR=$PW_DIR HOME=$PW_DIR DBUS_SESSION_BUS_ADDRESS=unix:path=$PW_DIR/bus
    unset PULSE_SERVER
    exec dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS"
  ) </dev/null >"$PW_DIR/dbus.log" 2>&1 &
  PW_PIDS+=($!)
  for _ in $(seq 50); do [ -S "$PW_DIR/bus" ] && break; sleep 0.1; done
  local program
  for program in pipewire wireplumber pipewire-pulse; do
    (
      export XDG_RUNTIME_DIR=$PW_DIR HOME=$PW_DIR DBUS_SESSION_BUS_ADDRESS=unix:path=$PW_DIR/bus
      unset PULSE_SERVER
      exec "$program"
    ) </dev/null >"$PW_DIR/$program.log" 2>&1 &
    PW_PIDS+=($!)
    sleep 0.5
  done
  export SEAHERALD_PIPEWIRE_SERVER="unix:$PW_DIR/pulse/native"
  local pw=(env PULSE_SERVER="$SEAHERALD_PIPEWIRE_SERVER")
  for _ in $(seq 50); do "${pw[@]}" pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  if ! "${pw[@]}" pactl info 2>/dev/null | grep -q "^Server Name: .*PipeWire"; then
    echo "private PipeWire server did not start; its logs:" >&2
    tail -n 5 "$PW_DIR"/*.log >&2 || true
    return 1
  fi
  "${pw[@]}" pactl load-module module-null-sink sink_name=nullsink rate=44100 channels=2 \
    sink_properties=device.description=NullSink >/dev/null
  "${pw[@]}" pactl load-module module-remap-source source_name=nullmon master=nullsink.monitor \
    source_properties=device.description=NullMonitor >/dev/null
  "${pw[@]}" pactl set-default-sink nullsink
  "${pw[@]}" pactl set-default-source nullmon
}

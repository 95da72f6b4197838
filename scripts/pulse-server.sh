# Sourced by scripts/test: a private PulseAudio server with a null sink whose monitor is an input.
start_private_pulse() {
  PA_DIR=$(mktemp -d /tmp/seaherald-pa.XXXXXX)
  export PULSE_SERVER="unix:$PA_DIR/native"
  XDG_RUNTIME_DIR="$PA_DIR" HOME="$PA_DIR" pulseaudio -n --daemonize=no --use-pid-file=no \
    --exit-idle-time=-1 --disallow-exit --realtime=no --high-priority=no \
    --log-target=file:"$PA_DIR/pulseaudio.log" \
    -L "module-native-protocol-unix socket=$PA_DIR/native auth-anonymous=1" \
    -L "module-null-sink sink_name=nullsink rate=44100 channels=2 sink_properties=device.description=NullSink" \
    -L "module-remap-source source_name=nullmon master=nullsink.monitor source_properties=device.description=NullMonitor" \
    </dev/null >/dev/null 2>&1 &
  PA_PID=$!
  trap 'kill $PA_PID 2>/dev/null || true; wait $PA_PID 2>/dev/null || true; rm -rf "$PA_DIR"' EXIT
  # Generous: in a full parallel test run the server may take many seconds to come up.
  for _ in $(seq 300); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  if ! pactl info >/dev/null 2>&1; then
    echo "private PulseAudio server did not start" >&2
    return 1
  fi
  pactl set-default-sink nullsink
  pactl set-default-source nullmon
}

# Sourced by the run script and the sound tests: a private PulseAudio whose only output is a null
# sink named "capture", so what the program plays can be recorded from "capture.monitor".
#   start_pulse   starts it (PULSE_PID), points PULSE_SERVER at its socket; Wine then plays there
#   stop_pulse    ends it (by its PID) and removes its folder
start_pulse() {
  PULSE_DIR=$(mktemp -d /tmp/nerith-pulse.XXXXXX)
  chmod 700 "$PULSE_DIR"
  # Its own HOME and runtime folder: nobody's own PulseAudio set-up is read or touched.
  HOME=$PULSE_DIR XDG_RUNTIME_DIR=$PULSE_DIR XDG_CONFIG_HOME=$PULSE_DIR \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr \
    -L "module-null-sink sink_name=capture rate=44100" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$PULSE_DIR/native" \
    >"$PULSE_DIR/log" 2>&1 &
  PULSE_PID=$!
  export PULSE_SERVER=unix:$PULSE_DIR/native
  local _
  for _ in $(seq 100); do
    if pactl info >/dev/null 2>&1; then
      pactl set-default-sink capture
      return 0
    fi
    kill -0 "$PULSE_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "could not start PulseAudio:" >&2
  tail -5 "$PULSE_DIR/log" >&2
  return 1
}

stop_pulse() {
  if [ -n "${PULSE_PID:-}" ]; then
    kill "$PULSE_PID" 2>/dev/null && wait "$PULSE_PID" 2>/dev/null
  fi
  PULSE_PID=
  [ -n "${PULSE_DIR:-}" ] && rm -rf "$PULSE_DIR"
  PULSE_DIR=
  unset PULSE_SERVER
}

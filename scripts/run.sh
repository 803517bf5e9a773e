#!/usr/bin/env bash
# Starts the aquarium under Wine. With $DISPLAY set it runs on that display until closed.
# Without one it runs on a private Xvfb (RUN_SIZE, default 1024x768) with a private PulseAudio for
# RUN_SECONDS (default 10) and records what a user would see and hear: out/aquarium.mp4 (screen and
# sound), out/aquarium.gif (RUN_FPS frames a second, default 12) and a few screenshots.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh
source scripts/pulse-env.sh
EXE=$ROOT/build/win/NerithScr.exe

if [ -n "${DISPLAY:-}" ]; then
  wine_prefix_ready
  echo "starting NerithScr on $DISPLAY (right click for the menu)"
  exec wine "$EXE"
fi

size=${RUN_SIZE:-1024x768}
seconds=${RUN_SECONDS:-10}
fps=${RUN_FPS:-12}
out=$ROOT/out
mkdir -p "$out"
rm -f "$out"/shot-*.png "$out"/aquarium.gif "$out"/aquarium.mp4
start_xvfb "$size"
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  wine_stop
  stop_pulse
  stop_xvfb
}
trap cleanup EXIT
start_pulse
wine_prefix_ready
wine_window_manager no
echo "running NerithScr on a private screen $size ($DISPLAY) with sound for $seconds seconds"
wine "$EXE" >"$out/wine.log" 2>&1 &
app_pid=$!
# Record from the moment the window is there.
for _ in $(seq 300); do
  [ "$(wine "$ROOT/build/win/winctl.exe" count 2>/dev/null | tr -d '\r')" = 1 ] && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
# The first frame can take a while on a busy machine: wait until the screen shows something.
for _ in $(seq 120); do
  lit=$(import -display "$DISPLAY" -window root -resize 10% -format "%[fx:int(1000*mean)]" info: 2>/dev/null || echo 0)
  [ "${lit:-0}" -gt 5 ] && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.5
done
ffmpeg -loglevel error -y -f x11grab -framerate 25 -video_size "$size" -i "$DISPLAY" \
  -f pulse -i capture.monitor -t "$seconds" \
  -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 128k "$out/aquarium.mp4"
ffmpeg -loglevel error -y -i "$out/aquarium.mp4" \
  -vf "fps=$fps,scale=iw/2:-1:flags=lanczos,split[a][b];[a]palettegen=stats_mode=diff[p];[b][p]paletteuse=dither=bayer" \
  -loop 0 "$out/aquarium.gif"
ffmpeg -loglevel error -y -i "$out/aquarium.mp4" -vf "fps=1/3" "$out/shot-%02d.png"
echo "video with sound: $out/aquarium.mp4"
echo "animation:        $out/aquarium.gif ($fps frames a second)"
echo "screenshots:"
printf '  %s\n' "$out"/shot-*.png

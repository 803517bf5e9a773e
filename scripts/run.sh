#!/usr/bin/env bash
# Starts the aquarium under Wine. With $DISPLAY set it runs on that display until closed.
# Without one it runs on a private Xvfb (RUN_SIZE, default 1024x768) for RUN_SECONDS (default 10),
# saves screenshots and an animated GIF under out/ and prints where they are.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh
EXE=$ROOT/build/win/NerithScr.exe

if [ -n "${DISPLAY:-}" ]; then
  wine_prefix_ready
  echo "starting NerithScr on $DISPLAY (right click for the menu)"
  exec wine "$EXE"
fi

size=${RUN_SIZE:-1024x768}
seconds=${RUN_SECONDS:-10}
out=$ROOT/out
mkdir -p "$out"
rm -f "$out"/shot-*.png "$out"/frame-*.png "$out"/aquarium.gif
start_xvfb "$size"
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  wine_stop
  stop_xvfb
}
trap cleanup EXIT
wine_prefix_ready
wine_window_manager no
echo "running NerithScr on a private screen $size ($DISPLAY) for $seconds seconds"
wine "$EXE" >"$out/wine.log" 2>&1 &
app_pid=$!
sleep 3
shots=()
frames=()
end=$((SECONDS + seconds - 3))
i=0
while [ $SECONDS -lt $end ] && kill -0 "$app_pid" 2>/dev/null; do
  f=$(printf '%s/frame-%03d.png' "$out" $i)
  import -display "$DISPLAY" -window root -resize 50% "$f"
  frames+=("$f")
  if [ $((i % 10)) -eq 0 ]; then
    s=$(printf '%s/shot-%02d.png' "$out" $((i / 10)))
    import -display "$DISPLAY" -window root "$s"
    shots+=("$s")
  fi
  i=$((i + 1))
  sleep 0.1
done
if [ ${#frames[@]} -gt 0 ]; then
  convert -delay 15 -loop 0 "${frames[@]}" -layers Optimize "$out/aquarium.gif"
  rm -f "${frames[@]}"
fi
echo "screenshots:"
printf '  %s\n' "${shots[@]}"
echo "animation:   $out/aquarium.gif"

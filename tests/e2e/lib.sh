# Helpers for the end-to-end tests: each test is a bash script run in a subshell with
# scripts/wine-env.sh loaded, WINEPREFIX set and HOME pointing at a scratch folder.
set -u
E2E_OUT=${NERITH_TEST_ROOT:-/tmp}/${E2E_NAME:-e2e}
mkdir -p "$E2E_OUT"
APP_PID=
WINDIR=$(wine_windir)
LOG=$WINDIR/NerithScr-instrument.log

fail() { echo "FAILED: $*"; exit 1; }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

# screen WIDTHxHEIGHT: a screen of that size for this test. The run's shared screen
# (E2E_SCREEN on E2E_DISPLAY, its Wine server kept running between tests) when the size is the
# same; otherwise a fresh Xvfb of its own, ended with its Wine server when the test ends.
screen() {
  app_kill
  if [ -n "${E2E_SCREEN:-}" ] && [ "$E2E_SCREEN" = "$1" ]; then
    if [ -n "${OWN_XVFB:-}" ]; then wine_stop; stop_xvfb; OWN_XVFB=; export DISPLAY=$E2E_DISPLAY; fi
    trap 'app_kill' EXIT
    return 0
  fi
  wine_stop  # Wine keeps the old screen's size while its server runs
  [ -n "${OWN_XVFB:-}" ] && stop_xvfb
  start_xvfb "$1" || fail "Xvfb $1"
  OWN_XVFB=1
  trap 'app_kill; wine_stop; stop_xvfb' EXIT
}

winctl() { wine "$ROOT/build/win/winctl.exe" "$@" 2>/dev/null | tr -d '\r'; }

# app_start [EXE]: starts the program (the instrumented build by default) and waits for its window.
# The instrumented build's first frame log says the window is up without asking Wine each time.
app_start() {
  local exe=${1:-NerithScr_instr.exe} i
  rm -f "$LOG"
  wine "$ROOT/build/win/$exe" >"$E2E_OUT/app.out" 2>&1 &
  APP_PID=$!
  for i in $(seq 300); do
    if [ $((i % 10)) = 0 ] || { [ "$exe" = NerithScr_instr.exe ] && [ "$(frames)" -ge 1 ] 2>/dev/null; }; then
      [ "$(winctl count)" = 1 ] && return 0
    fi
    kill -0 "$APP_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# frames: how many frames the running program has shown (from the instrumented build's log).
frames() { [ -f "$LOG" ] && tr -d '\r' <"$LOG" | awk '$1=="frames"{print $2}' || echo 0; }
mark() { tr -d '\r' <"$LOG" | awk -v m="$1" '$1=="mark" && $2==m {print $3}'; }
count_of() { local v; v=$(tr -d '\r' <"$LOG" | awk -v k="$1" '$1=="count" && $2==k {print $3}'); echo "${v:-0}"; }
value() { tr -d '\r' <"$LOG" | awk -v k="$1" '$1==k {print $2}'; }

# wait_frames N [SECONDS]: waits until at least N frames have been shown.
frames_at_least() { [ "$(frames)" -ge "$1" ] 2>/dev/null; }
wait_frames() { wait_for "${2:-30}" frames_at_least "$1"; }

# app_wait [SECONDS]: waits for the program to end and sets APP_STATUS to its exit status or
# "timeout". Call it directly, not in $(...): only this shell can wait.
app_wait() {
  local limit=$(( ${1:-20} * 10 ))
  APP_STATUS=timeout
  for _ in $(seq $limit); do
    if ! kill -0 "$APP_PID" 2>/dev/null; then wait "$APP_PID"; APP_STATUS=$?; APP_PID=; return 0; fi
    sleep 0.1
  done
  return 1
}

# app_up FRAMES [WHAT [SECONDS]]: starts the program and waits up to SECONDS (30) for FRAMES frames.
app_up() { check "${2:-starts}" app_start; check "frames come" wait_frames "$1" "${3:-30}"; }
# app_end [WHAT]: closes the frame from outside; the program must end with status 0.
app_end() { winctl close; app_wait 20; check "${1:-ends with status 0}" test "$APP_STATUS" = 0; }

app_kill() { [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null; APP_PID=; }

now_ms() { date +%s%3N; }
# wait_for SECONDS COMMAND...: polls COMMAND until it succeeds and sets WAITED to the milliseconds
# that took; false after SECONDS.
wait_for() {
  local limit=$(( $1 * 1000 )) t0; t0=$(now_ms); shift
  while :; do
    "$@" && { WAITED=$(( $(now_ms) - t0 )); return 0; }
    [ $(( $(now_ms) - t0 )) -gt "$limit" ] && { WAITED=timeout; return 1; }
    sleep 0.05
  done
}

# centre TITLE ID: "X Y", the middle of control ID of the window with that title.
centre() { local e x y w h; read -r e x y w h <<<"$(winctl window "$1" "$2")"; echo "$((x + w / 2)) $((y + h / 2))"; }
# drag_down TITLE ID: drags the thumb of vertical slider ID (in its middle) with the mouse to below its end.
drag_down() {
  local x y w h; read -r _ x y w h <<<"$(winctl window "$1" "$2")"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) mousedown 1
  for y in $(seq $((y + h / 2 + 10)) 10 $((y + h + 20))); do xdotool mousemove $((x + w / 2)) "$y"; sleep 0.02; done
  xdotool mouseup 1
}
# shown TITLE: the top-level window with that title is there and visible.
shown() { [ "$(winctl window "$1" | cut -d' ' -f1)" = 1 ]; }
hidden() { ! shown "$1"; }

shot() { import -display "$DISPLAY" -window root "$E2E_OUT/$1.png" && echo "$E2E_OUT/$1.png"; }

# pixel FILE X Y: "R G B" of one pixel of a screenshot.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:; }
# mean FILE [GEOMETRY]: mean brightness 0..255 of the screenshot or a region of it (WxH+X+Y).
mean() { convert "$1" ${2:+-crop "$2" +repage} -format "%[fx:int(255*mean)]" info:; }
# differ A B: the fraction of pixels (0..1) that differ between two screenshots.
differ() { compare -metric AE "$1" "$2" null: 2>&1 | awk -v a="$1" '{print $1}'; }

# write_ini LINES...: a settings file holding just these lines ("[Section]" or "KEY=VALUE");
# the program fills in every other key with its default.
write_ini() { printf '%s\r\n' "$@" >"$WINDIR/PondelSet.ini"; }

# A roster of one fish of each of the first N species.
roster() { local i; echo "[Fish Number]"; for i in $(seq 0 19); do echo "Fish$i=$([ "$i" -lt "$1" ] && echo 1 || echo 0)"; done; }

# bright FILE [GEOMETRY]: pixels whose darkest channel is above 90 % (white-ish).
bright() { convert "$1" ${2:+-crop "$2" +repage} -separate -evaluate-sequence min -threshold 90% -format "%[fx:int(mean*w*h+0.5)]" info:; }
# lit FILE [GEOMETRY]: pixels that are not (nearly) black.
lit() { convert "$1" ${2:+-crop "$2" +repage} -separate -evaluate-sequence max -threshold 8% -format "%[fx:int(mean*w*h+0.5)]" info:; }
# edges FILE: the lit share, in per cent, of each of the outermost two columns and rows of a
# picture (left, right, top, bottom): a black band at any edge shows as a low number.
edges() {
  local w h
  read -r w h <<<"$(identify -format '%w %h' "$1")"
  echo "$(( $(lit "$1" 2x$h+0+0) * 50 / h )) $(( $(lit "$1" 2x$h+$((w - 2))+0) * 50 / h ))" \
       "$(( $(lit "$1" ${w}x2+0+0) * 50 / w )) $(( $(lit "$1" ${w}x2+0+$((h - 2))) * 50 / w ))"
}
# covers FILE: no black band at any edge (every edge at least 95 % lit; a fish may darken a few).
covers() { local e; for e in $(edges "$1"); do [ "$e" -ge 95 ] || return 1; done; }
# colours FILE: distinct colours after reducing to 4 levels a channel.
colours() { convert "$1" -posterize 4 -unique-colors -format "%[fx:w]" info:; }
# pellet_pixels FILE GEOMETRY: pixels of the food pellets' pale yellow in a region.
pellet_pixels() { convert "$1" -crop "$2" +repage -fill white -fuzz 12% -opaque "rgb(243,225,159)" -fill black +opaque white -format "%[fx:int(mean*w*h+0.5)]" info:; }

# menu_entry N [X Y]: right-clicks the view at X,Y (700,150) and chooses entry N (0-based) of the
# popup menu, whose owner-drawn rows are 48 pixels high.
menu_entry() {
  local x=${2:-700} y=${3:-150}
  xdotool mousemove "$x" "$y" click 3
  sleep 0.5
  xdotool mousemove $((x + 80)) $((y + 3 + $1 * 48 + 24)) click 1
}

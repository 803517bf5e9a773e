# Nobody sees the tank: minimised (from another program, as the taskbar does), with the session
# locked or the display off, the program renders no frame and uses next to no processor; shown
# again it goes on exactly where it was. winctl sends the lock and display messages Windows sends.
screen 1024x768
mapfile -t fish < <(roster 4)
write_ini "${fish[@]}"
AT=400  # the frame both runs keep as a picture, after every hiding

# The CPU time (ms) of the program's process (the `wine` that app_start started), or of one of its
# threads: the first is the window thread.
hz=$(getconf CLK_TCK)
cpu_ms() { local f=/proc/$APP_PID/stat; [ -n "${1:-}" ] && f=/proc/$APP_PID/task/$1/stat
           sed 's/.*) //' "$f" | awk -v hz="$hz" '{print int(($12 + $13) * 1000 / hz)}'; }
# share SECONDS: SHARE, the per cent of one core used over that time; WINDOW_SHARE, the window
# thread's part (the rest is the music's).
share() {
  local c0 w0 t0 ms; c0=$(cpu_ms); w0=$(cpu_ms "$APP_PID"); t0=$(now_ms)
  sleep "$1"
  ms=$(( $(now_ms) - t0 ))
  SHARE=$(awk -v c=$(( $(cpu_ms) - c0 )) -v t=$ms 'BEGIN{printf "%.1f", c * 100 / t}')
  WINDOW_SHARE=$(awk -v c=$(( $(cpu_ms "$APP_PID") - w0 )) -v t=$ms 'BEGIN{printf "%.1f", c * 100 / t}')
  echo "measure: CPU $2: $SHARE % of a core ($WINDOW_SHARE % on the window thread)"
}
is_hidden() { [ "$(value hidden)" = "$1" ]; }
within() { awk -v a="$1" -v b="$2" 'BEGIN{exit !(a <= b)}'; }

# ---- A run nobody hides: its frame $AT is the reference ------------------------------------------
NERITH_SNAPSHOT_AT=$AT check "starts" app_start
check "is the Windows process" grep -q NerithScr "/proc/$APP_PID/cmdline"
check "frames come up to $AT" wait_frames $((AT + 5)) 150
cp "$WINDIR/NerithScr-frame.bmp" "$E2E_OUT/reference.bmp"
app_kill
gone() { [ "$(winctl count)" = 0 ]; }
check "the first run ends" wait_for 20 gone

# ---- The same run with the tank hidden now and then -----------------------------------------------
NERITH_SNAPSHOT_AT=$AT app_up 20 "starts again"

# Minimised from another program: no frame, next to no processor.
winctl show minimize
check "minimising hides the view" wait_for 5 is_hidden 1
f=$(frames)
sleep 1  # the minimising itself settles
sound=${NERITH_TEST_ROOT:-/tmp}/alsa_out.raw  # where the test run's sound device writes
heard=$(stat -c %s "$sound" 2>/dev/null || echo 0)
share 5 "while minimised"
check "the music plays on" test "$(stat -c %s "$sound" 2>/dev/null || echo 0)" -gt "$heard"
check "no frame runs while minimised" test "$(value frames_hidden)" = 0
check "minimised, the program uses a few per cent of a core at most (the music plays on)" within "$SHARE" 5
check "its window thread next to nothing" within "$WINDOW_SHARE" 0.5
shot minimised >/dev/null
winctl show restore
check "restoring shows it again" wait_for 5 is_hidden 0
check "frames go on after the restore" wait_frames $((f + 10))
restored=$(shot restored)
check "the tank shows again" test "$(lit "$restored")" -gt $((1024 * 768 / 2))

# Locked: hidden until unlocked, a repaint draws nothing; a display turned off meanwhile keeps it
# hidden until it is on again. (The monitor's notification and a dimmed display: VisibilityTest.)
winctl session lock
check "locking hides the view" is_hidden 1
winctl redraw
share 3 "while locked, after a repaint"
check "the window thread stays idle" within "$WINDOW_SHARE" 0.5
winctl display off
winctl session unlock
check "unlocked with the display off it stays hidden" is_hidden 1
sleep 1
check "no frame while locked or dark" test "$(value frames_hidden)" = 0
winctl display on
check "the display on again shows it" is_hidden 0
f=$(frames)
check "frames go on" wait_frames $((f + 10))
check "two spells in all" test "$(value hidden_spells)" = 2
echo "the last spell ended at frame $(frames)"
check "all before frame $AT" test "$(frames)" -lt $AT

# Frame for frame the same tank as the run nobody hid: nothing ran while hidden, nothing was lost.
check "frames come up to $AT" wait_frames $((AT + 5)) 150
check "no frame ran while hidden" test "$(value frames_hidden)" = 0
convert "$E2E_OUT/reference.bmp" "$E2E_OUT/reference.png"
convert "$WINDIR/NerithScr-frame.bmp" "$E2E_OUT/hidden-run.png"
echo "pixels that differ at frame $AT: $(differ "$E2E_OUT/reference.png" "$E2E_OUT/hidden-run.png")"
check "frame $AT is the same picture in both runs" cmp -s "$E2E_OUT/reference.bmp" "$WINDIR/NerithScr-frame.bmp"
check "the reference frame shows the tank" test "$(lit "$E2E_OUT/reference.png")" -gt $((1024 * 768 / 2))

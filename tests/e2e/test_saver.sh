# The screen-saver modes: /s over the whole screen until the mouse moves (a key: test_keyboard_menu),
# /p inside a parent window until it goes, /c the Aquarium Settings, and bad command lines.
screen 1024x768
rm -f "$WINDIR/PondelSet.ini"  # the defaults: a lit tank with fish

# run_with EXE ARGS...: starts the program with arguments in the background (APP_PID).
run_with() {
  local exe=$1; shift
  rm -f "$LOG"
  wine "$ROOT/build/win/$exe" "$@" >"$E2E_OUT/app.out" 2>&1 &
  APP_PID=$!
}
windows_are() { [ "$(winctl count)" = "$1" ]; }
running() { kill -0 "$APP_PID" 2>/dev/null; }

# ---- /s: covers the screen, topmost; a small drift is not a move, a real move ends it ----------
# (Moves are relative: Xvfb puts the pointer back in the middle whenever its last client goes.)
run_with NerithScr_instr.exe /s
check "saver runs frames" wait_frames 40 60
info=$(winctl info)
echo "$info"
check "saver covers the screen" grep -qx "view 0 0 1024 768" <<<"$info"
check "saver is topmost" test $(( 0x$(awk '$1=="frame_exstyle"{print $2}' <<<"$info") & 0x8 )) -ne 0
img=$(shot saver)
check "the tank shows over the whole screen" test "$(lit "$img")" -gt $((1024 * 768 / 2))

# A second saver while one runs ends at once with status 0.
wine "$ROOT/build/win/NerithScr.exe" /s >/dev/null 2>&1 &
second=$!
wait_for 20 bash -c "! kill -0 $second 2>/dev/null" || fail "second saver still running"
wait $second
check "a second saver exits 0" test $? -eq 0
check "still one saver window" test "$(winctl count)" = 1

xdotool mousemove_relative -- 2 1
f=$(frames)
check "frames go on after the small drift" wait_frames $((f + 30))
check "a drift of two pixels does not end the saver" running
xdotool mousemove_relative -- 80 60
app_wait 20
check "a mouse move ends the saver with status 0" test "$APP_STATUS" = 0
check "and its window is gone" test "$(winctl count)" = 0

# ---- /p: draws into the parent's client area, ends when the parent goes ------------------------
rm -f "$WINDIR/PondelSet.ini"  # so that any write would show
wine "$ROOT/build/win/winctl.exe" parent 152 112 >"$E2E_OUT/parent.out" 2>/dev/null &
parent_pid=$!
check "the parent window is up" wait_for 30 grep -q '^[0-9]' "$E2E_OUT/parent.out"
parent=$(head -1 "$E2E_OUT/parent.out" | tr -d '\r')
rm -f "$WINDIR/NerithScr-frame.bmp"
run_with NerithScr_instr.exe /p "$parent"
check "preview runs frames" wait_frames 60 60
children=$(winctl children "$parent")
echo "$children"
check "the preview is one visible child filling the parent" grep -qx "child [0-9]* 152 112 1" <<<"$children"
check "just one" test "$(wc -l <<<"$children")" -eq 1
# Wine shows nothing one process draws into another's window: the instrumented build's 50th frame.
frame=$E2E_OUT/preview_frame.png
convert "$WINDIR/NerithScr-frame.bmp" "$frame"
check "the preview draws at the parent's size" test "$(identify -format %wx%h "$frame")" = 152x112
check "the preview draws the tank to every edge" covers "$frame"
check "in colour" test "$(colours "$frame")" -gt 8
check "the preview opens no window of its own" test "$(winctl count)" = 0
winctl destroy "$parent"
app_wait 20
check "the preview ends with status 0 when its parent goes" test "$APP_STATUS" = 0
wait $parent_pid 2>/dev/null
check "the preview wrote no settings" test ! -e "$WINDIR/PondelSet.ini"

# A bad or missing window ends quietly with a non-zero status.
for bad in "/p 12345" "/p"; do
  run_with NerithScr.exe $bad
  app_wait 30
  check "\"$bad\" ends with a non-zero status ($APP_STATUS)" test "$APP_STATUS" != 0 -a "$APP_STATUS" != timeout
done

# ---- an unknown argument: the accepted ones in a message box, then status 2 --------------------
run_with NerithScr.exe /x
check "the usage box shows" wait_for 30 windows_are 1
shot usage >/dev/null
xdotool key Return
app_wait 20
check "an unknown argument ends with status 2" test "$APP_STATUS" = 2

# ---- /c, /c:HWND and the .scr alone: the Aquarium Settings dialog, the end when it closes -------
title="Aquarium Settings - 3D Nerith Fish Screensaver 1.0"
# drawn NAME: the dialog's sliders and lamps show (green) on a screenshot of it.
drawn() {
  local l t w h; read -r _ l t w h <<<"$(winctl window "$title")"
  test "$(convert "$(shot "$1")" -crop ${w}x$h+$l+$t +repage -fill white -fuzz 20% -opaque "rgb(0,255,0)" \
    -fill black +opaque white -format "%[fx:int(mean*w*h+0.5)]" info:)" -gt 300
}
run_with NerithScr.scr
check "the .scr alone opens the Aquarium Settings" wait_for 30 shown "$title"
check "its sliders and lamps are drawn" wait_for 10 drawn settings
xdotool key Escape
app_wait 20
check "closing the dialog ends the program with status 0" test "$APP_STATUS" = 0

wine "$ROOT/build/win/winctl.exe" parent 400 300 >"$E2E_OUT/owner.out" 2>/dev/null &
owner_pid=$!
check "the owner window is up" wait_for 30 grep -q '^[0-9]' "$E2E_OUT/owner.out"
owner=$(head -1 "$E2E_OUT/owner.out" | tr -d '\r')
run_with NerithScr.exe -C:"$owner"
check "/c:HWND opens the Aquarium Settings" wait_for 30 shown "$title"
check "drawn over its owner" wait_for 10 drawn settings_owned
read -r _ l t w h <<<"$(winctl window "$title")"
xdotool mousemove $((l + w - 13)) $((t + 11)) click 1  # the close box
app_wait 20
check "its close box ends the program with status 0" test "$APP_STATUS" = 0
winctl destroy "$owner"
wait $owner_pid 2>/dev/null

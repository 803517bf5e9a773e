# The program closed from outside while a dialog is open: WM_CLOSE from another program and the
# end of the session. Each time the open dialogs close first as their close boxes would, keeping
# the user's last change, and the program ends cleanly with status 0.
screen 1024x768
ini=$WINDIR/PondelSet.ini
key() { tr -d '\r' <"$ini" | awk -F= -v k="$1" '$1==k {print $2}'; }
mapfile -t fish < <(roster 0)

# 1. Fish Settings: the A key adds a fish, and the frame is closed the moment the dialog has
# shown it, before its half-second save: the close keeps it.
write_ini "[Aquarium Settings]" "BACKGROUND=1" "${fish[@]}"
app_up 40
title="Fish Settings - 3D Nerith Fish Screensaver 1.0"
menu_entry 4
check "the dialog opens" wait_for 5 shown "$title"
read -r _ dx dy _ _ <<<"$(winctl window "$title")"
xdotool mousemove $((dx + 3 + 250)) $((dy + 25 + 135)) click 1  # species 7
sleep 0.7
wine "$ROOT/build/win/winctl.exe" close-on-change "$title" 1001 >"$E2E_OUT/closer.out" 2>/dev/null &
closer=$!
check "the closer waits" wait_for 10 grep -qs ready "$E2E_OUT/closer.out"
xdotool key a
app_wait 20
wait $closer
check "the frame closed over the dialog ends with status 0" test "$APP_STATUS" = 0
check "the fish added just before is kept" test "$(key Fish7)" = 1

# 2. Custom Music shown, Random chosen with the mouse: the dialog saves only when it hides, and
# the frame's close hides it first.
write_ini "[Aquarium Settings]" "BACKGROUND=1" "${fish[@]}" "[Custom Settings]" "RandomMusic=0" \
  "CycMusic=0" "RepeatMusic=1" "OwnMusic=0" "MusicSum=0"
app_up 40 "starts again"
title="Custom Music - 3D Nerith Fish Screensaver 1.0"
menu_entry 5
check "the music dialog shows" wait_for 5 shown "$title"
xdotool mousemove $(centre "$title" 1025) click 1
sleep 0.5
check "Random is not saved while the dialog shows" test "$(key RandomMusic)" = 0
app_end "closed with the music dialog shown: status 0"
check "Random is kept" test "$(key RandomMusic)" = 1
check "Repeat One is off" test "$(key RepeatMusic)" = 0

# 3. Aquarium Settings open, the Bubble Count slider dragged to the bottom, then the session ends.
write_ini "[Aquarium Settings]" "QIPAONUM=100" "${fish[@]}"
app_up 40 "starts a third time"
title="Aquarium Settings - 3D Nerith Fish Screensaver 1.0"
winctl command 1040
check "the settings dialog opens" wait_for 5 shown "$title"
drag_down "$title" 1009
check "the slider is at 200" test "$(winctl pos "$title" 1009)" = 200
answers=$(winctl endsession)
echo "$answers"
check "the program agrees to end the session" grep -qx "query 1" <<<"$answers"
app_wait 20
echo "status $APP_STATUS"
check "the session's end ends it with status 0" test "$APP_STATUS" = 0
check "the slider's value is kept" test "$(key QIPAONUM)" = 200
check "no window is left" test "$(winctl count)" = 0

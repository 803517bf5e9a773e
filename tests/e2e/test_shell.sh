# The application shell: a borderless window over the whole screen, one copy only, a running
# frame loop, and a clean end when the frame is closed. (Other screen sizes: test_screens.sh.)
screen 1024x768
app_up 50
info=$(winctl info)
echo "$info"
check "frame is maximised" grep -q "^note shown .* zoomed 1" <(tr -d '\r' <"$LOG")
check "frame's client area is the screen" grep -qx "frame_client 1024 768" <<<"$info"
check "view covers the screen" grep -qx "view 0 0 1024 768" <<<"$info"
style=$(awk '$1=="frame_style"{print $2}' <<<"$info")
check "no caption, system menu or border" test $(( 0x$style & 0x00CA0000 )) -eq 0
check "no client edge" test $(( 0x$(awk '$1=="frame_exstyle"{print $2}' <<<"$info") & 0x200 )) -eq 0
check "no view edge" test $(( 0x$(awk '$1=="view_exstyle"{print $2}' <<<"$info") & 0x200 )) -eq 0
check "no menu bar" grep -qx "frame_menu 0" <<<"$info"

# A second copy ends at once with status 0 and shows no window.
wine "$ROOT/build/win/NerithScr.exe" >/dev/null 2>&1 &
second=$!
wait_for 10 eval "! kill -0 $second 2>/dev/null" || fail "second copy still running"
wait $second
check "second copy exits 0" test $? -eq 0
check "still one window" test "$(winctl count)" = 1
f1=$(frames)
check "frames keep coming" wait_frames $((f1 + 10)) 5
app_end "closing the frame ends the program with status 0"

# A copy that finds only the application-name mutex taken gives up quietly: status 0, no window.
wine "$ROOT/build/win/winctl.exe" hold NerithScr 20 >"$E2E_OUT/hold.out" 2>&1 &
holder=$!
wait_for 10 grep -qs holding "$E2E_OUT/hold.out"
wine "$ROOT/build/win/NerithScr.exe" >/dev/null 2>&1 &
APP_PID=$!
app_wait 20
check "with the name taken the program exits with status 0" test "$APP_STATUS" = 0
check "and shows no window" test "$(winctl count)" = 0
kill $holder 2>/dev/null

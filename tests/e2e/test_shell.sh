# The application shell: a borderless window over the whole screen, one copy only, a running
# frame loop, and a clean end when the frame is closed.
for size in 1024x768 1280x1024; do
  screen "$size"
  w=${size%x*}; h=${size#*x}
  check "starts at $size" app_start
  check "frame loop runs at $size" wait_frames 50
  info=$(winctl info)
  echo "$info"
  check "frame is maximised" grep -q "^note shown .* zoomed 1" <(tr -d '\r' <"$LOG")
  check "frame's client area is the screen at $size" grep -qx "frame_client $w $h" <<<"$info"
  check "view covers the screen at $size" grep -qx "view 0 0 $w $h" <<<"$info"
  style=$(awk '$1=="frame_style"{print $2}' <<<"$info")
  check "no caption, system menu or border" test $(( 0x$style & 0x00CA0000 )) -eq 0
  check "no client edge" test $(( 0x$(awk '$1=="frame_exstyle"{print $2}' <<<"$info") & 0x200 )) -eq 0
  check "no view edge" test $(( 0x$(awk '$1=="view_exstyle"{print $2}' <<<"$info") & 0x200 )) -eq 0
  check "no menu bar" grep -qx "frame_menu 0" <<<"$info"
  f1=$(frames)
  check "frames keep coming" wait_frames $((f1 + 10)) 5

  if [ "$size" = 1024x768 ]; then
    # A second copy ends at once with status 0 and shows no window.
    wine "$ROOT/build/win/NerithScr.exe" >/dev/null 2>&1 &
    second=$!
    wait_for 10 eval "! kill -0 $second 2>/dev/null" || fail "second copy still running"
    wait $second; status=$?
    check "second copy exits 0" test $status -eq 0
    check "still one window" test "$(winctl count)" = 1
  fi

  winctl close
  app_wait 20
  check "closing the frame ends the program with status 0" test "$APP_STATUS" = 0
done

# A copy that finds only the application-name mutex taken gives up quietly: status 0, no window.
screen 1024x768
wine "$ROOT/build/win/winctl.exe" hold NerithScr 20 >"$E2E_OUT/hold.out" 2>&1 &
holder=$!
wait_for 10 grep -qs holding "$E2E_OUT/hold.out"
wine "$ROOT/build/win/NerithScr.exe" >/dev/null 2>&1 &
APP_PID=$!
app_wait 20
check "with the name taken the program exits with status 0" test "$APP_STATUS" = 0
check "and shows no window" test "$(winctl count)" = 0
kill $holder 2>/dev/null

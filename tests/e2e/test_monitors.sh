# Two monitors side by side (a stand-in Xinerama cuts one wide screen into 1024x768, the primary,
# and 800x600): the saver shows a tank of each one's own size on each, and input on the second ends
# it; the desktop aquarium stays on the primary monitor.
screen 1824x768
fake=$ROOT/build/fakexinerama
if [ ! "$fake/libXinerama.so.1" -nt "$ROOT/tests/e2e/fakexinerama.c" ]; then
  mkdir -p "$fake"
  cc -shared -fPIC -o "$fake/libXinerama.so.1" "$ROOT/tests/e2e/fakexinerama.c" || fail "building the stand-in Xinerama"
fi
export LD_LIBRARY_PATH=$fake${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} FAKE_HEADS="0,0,1024,768;1024,0,800,600"
# Wine reads them from Xinerama only without XRandR, when its server starts (undone at the end).
x11key='HKCU\Software\Wine\X11 Driver'
wine reg add "$x11key" /v UseXRandR /d N /f >/dev/null 2>&1
wine_stop
holder=
trap 'app_kill; [ -n "$holder" ] && kill $holder 2>/dev/null; wine reg delete "$x11key" /v UseXRandR /f >/dev/null 2>&1; wine_stop; stop_xvfb' EXIT
# A lit tank with fish behind which the user's own picture, red, shows.
mkdir -p "$WINEPREFIX/drive_c/nerith_pics"
convert -size 320x200 xc:"rgb(255,0,0)" "$WINEPREFIX/drive_c/nerith_pics/red.png"
write_ini "[Custom Images]" "OwnImage=1" "CycImage=1" "ImageTime=1" "ImageSum=1" 'ImageList0=C:\nerith_pics\red.png'

# covered FILE GEOMETRY: whether more than half of that part of the screenshot is lit.
covered() { local w=${2%%x*} h=${2#*x}; h=${h%%+*}; test "$(lit "$1" "$2")" -gt $((w * h / 2)); }
# reddish FILE GEOMETRY: whether red rules that part of the screenshot (the user's picture).
reddish() { local r g b; read -r r g b < <(convert "$1" -crop "$2" +repage \
  -format "%[fx:int(255*mean.r)] %[fx:int(255*mean.g)] %[fx:int(255*mean.b)]" info:)
  echo "$2: $r $g $b"; [ "$r" -gt $((g + 80)) ] && [ "$r" -gt $((b + 80)) ]; }

# ---- /s: a window and a tank of its own on each monitor -----------------------------------------
# The pointer waits on the second monitor (Xvfb puts it back in the middle when its last client goes).
xdotool mousemove 1400 300 sleep 120 &
holder=$!
rm -f "$LOG"
wine "$ROOT/build/win/NerithScr_instr.exe" /s >"$E2E_OUT/app.out" 2>&1 &
APP_PID=$!
check "the saver starts" wait_frames 1 60
kill $holder; holder=
check "and runs frames" wait_frames 80
check "the pointer is on the second monitor" test "$(xdotool getmouselocation | sed 's/x:\([0-9]*\).*/\1/')" -ge 1024
windows=$(winctl windows)
echo "$windows"
check "two windows" test "$(wc -l <<<"$windows")" = 2
check "the primary monitor's: topmost, a view of its size" grep -qx "window 0 0 1024 768 1 1024 768" <<<"$windows"
check "the second monitor's: topmost, a view of its size" grep -qx "window 1024 0 800 600 1 800 600" <<<"$windows"
notes=$(tr -d '\r' <"$LOG" | grep "^note gl context")
echo "$notes"
check "the primary view's scene is laid out for 1024x768" grep -q "size 1024x768 shared 0" <<<"$notes"
check "the second view's for 800x600, sharing the primary's textures" grep -q "size 800x600 shared 1" <<<"$notes"
check "no GL error" test "$(value gl_errors)" = 0
img=$(shot monitors_saver)
check "the tank shows on the primary monitor" covered "$img" 1024x768+0+0
check "the tank shows on the second monitor" covered "$img" 800x600+1024+0
check "nothing is drawn beyond the monitors" test "$(lit "$img" 800x168+1024+600)" = 0
# The user's picture is read in the background while the tank already swims: polled.
red_on_both() { local i; i=$(shot monitors_saver_red); reddish "$i" 600x300+212+120 && reddish "$i" 460x230+1194+90; }
check "the user's picture shows on both monitors, the second from the textures the primary loaded" wait_for 10 red_on_both

# Input on the second monitor: a drift of two pixels is no move, a real move ends the saver.
xdotool mousemove_relative -- 2 1
f=$(frames)
check "frames go on after the small drift" wait_frames $((f + 40))
check "a drift of two pixels does not end the saver" kill -0 "$APP_PID"
xdotool mousemove_relative -- 80 60
app_wait 20
check "a mouse move on the second monitor ends the saver with status 0" test "$APP_STATUS" = 0
check "and no window is left" test "$(winctl count)" = 0

# ---- the desktop aquarium: the primary monitor only ----------------------------------------------
app_up 40 "the desktop aquarium starts"
windows=$(winctl windows)
echo "$windows"
check "one window" test "$(wc -l <<<"$windows")" = 1
check "its view covers the primary monitor" grep -qx "view 0 0 1024 768" <<<"$(winctl info)"
img=$(shot monitors_desktop)
check "the tank shows on the primary monitor" covered "$img" 1024x768+0+0
check "the second monitor shows none" test "$(lit "$img" 800x600+1024+0)" -lt $((800 * 600 / 100))
app_end "closing it ends the program with status 0"

# The user's own pictures behind the water: a stored list shows its picture, Repeat All changes
# the pictures every interval, a missing file and a gap in the list cost one message that names
# them, the picture after the gap shows, the dialog opens from the popup menu, hides on Escape and
# keeps its list, and a 50-megapixel photo added through it shows.
screen 1024x768
pics=$WINEPREFIX/drive_c/nerith_pics
mkdir -p "$pics"
convert -size 320x200 xc:"rgb(255,0,0)" "$pics/red.png"
convert -size 400x300 xc:"rgb(0,255,0)" -quality 95 "$pics/green.jpg"
mapfile -t fish < <(roster 0)
base=("[Aquarium Settings]" "QIPAONUM=200" "${fish[@]}")

# "R G B" means of the upper middle of the screen (water and picture, no floor, no fish).
backdrop() { convert "$1" -crop "${2:-600x300+212+120}" +repage \
  -format "%[fx:int(255*mean.r)] %[fx:int(255*mean.g)] %[fx:int(255*mean.b)]" info:; }
# red, green or other for a screenshot's backdrop.
tint() { local r g b; read -r r g b <<<"$(backdrop "$1" "${2:-}")"
  if [ "$r" -gt $((g + 80)) ] && [ "$r" -gt $((b + 80)) ]; then echo red
  elif [ "$g" -gt $((r + 80)) ] && [ "$g" -gt $((b + 80)) ]; then echo green
  else echo other; fi; }
# Waits until exactly N top-level windows are titled "NerithScr" (the frame, a message box).
count_is() { [ "$(winctl count)" = "$1" ]; }

# 1. Repeat All every second: red and green take turns.
write_ini "${base[@]}" "[Custom Images]" "OwnImage=1" "CycImage=1" "ImageTime=1" "ImageSum=2" \
  'ImageList0=C:\nerith_pics\red.png' 'ImageList1=C:\nerith_pics\green.jpg'
check "starts with two pictures" app_start
check "frames come" wait_frames 40 60
seen=""
for k in $(seq 24); do
  t=$(tint "$(shot "cycle-$k")")
  [ "${seen##* }" != "$t" ] && seen="$seen $t"
  [ "$(wc -w <<<"$seen")" -ge 4 ] && break
  sleep 0.2
done
echo "backdrops in turn:$seen"
changes=$(wc -w <<<"$seen")
check "red and green alternate" test "$changes" -ge 3
check "only the two pictures show" test -z "$(tr ' ' '\n' <<<"$seen" | grep -v -e red -e green -e '^$')"
winctl close; app_wait 20

# 2. A stored picture that is gone, then a gap (no ImageList1), then one that is there, under a
# count far beyond them: one message at start-up names the two failures, then the tank runs with
# the picture after the gap behind the water.
write_ini "${base[@]}" "[Custom Images]" "OwnImage=1" "RepeatImage=1" "ImageTime=5" "ImageSum=100000" \
  'ImageList0=C:\nerith_pics\gone.png' 'ImageList2=C:\nerith_pics\red.png'
ini=$WINDIR/PondelSet.ini
rm -f "$LOG"
wine "$ROOT/build/win/NerithScr_instr.exe" >"$E2E_OUT/app.out" 2>&1 &
APP_PID=$!
check "the frame and one message box" wait_for 20 count_is 2
sleep 0.3
box=$(shot missing-message)
message=$(winctl messages)
echo "the message: $message"
check "it names the missing picture and the gap" \
  grep -qxF '(C:\nerith_pics\gone.png)image loading error. | ()image loading error.' <<<"$message"
# The log is rewritten every few frames: counts are polled.
count_is_now() { [ "$(count_of "$1")" = "$2" ]; }
check "two loading errors so far" wait_for 3 count_is_now picture_errors 2
xdotool key Return
check "the message goes, no second one comes" wait_for 20 count_is 1
check "frames come after the message" wait_frames 40 60
check "no further message" test "$(winctl count)" = 1
shows_red() { [ "$(tint "$(shot own-red)")" = red ]; }
check "the picture after the gap shows behind the water" wait_for 10 shows_red
check "it was loaded once" wait_for 3 count_is_now pictures_added 1

# 3. The dialog from the popup menu, with real mouse events; Escape hides it, the list stays.
title="Custom Background - 3D Nerith Fish Screensaver 1.0"
open_dialog() {
  xdotool mousemove 300 150 click 3
  sleep 0.5
  xdotool mousemove 380 $((150 + 3 + 6 * 48 + 24)) click 1  # "  Custom Background"
  wait_for 5 shown "$title"
  sleep 0.3
}
# count_of_colour FILE COLOUR FUZZ [GEOMETRY]: pixels near COLOUR; box_of_colour: "W H X Y" around them.
colour_mask() { echo "$1" ${4:+-crop "$4" +repage} -alpha off -fuzz "$3" -transparent "$2" -alpha extract -negate; }
count_of_colour() { convert $(colour_mask "$@") -format "%[fx:int(mean*w*h+0.5)]" info:; }
box_of_colour() { convert $(colour_mask "$@") -trim -format "%w %h %X %Y" info: | tr -d '+'; }
list_colour="rgb(207,184,130)"  # the list's own colour, 0x0082B8CF
list_pixels() { count_of_colour "$1" "$list_colour" 3%; }
open_dialog
d=$(shot dialog)
read -r lw lh lx ly <<<"$(box_of_colour "$d" "$list_colour" 3%)"
echo "list ${lw}x${lh} at $lx,$ly"
check "the dialog shows its list" test "$(list_pixels "$d")" -gt 20000
# The row: blue text on the list's colour.
blue=$(count_of_colour "$d" "rgb(0,0,255)" 30% "${lw}x20+${lx}+${ly}")
check "the stored picture is listed" test "$blue" -gt 30
# "Use your own image" starts at the list's left edge, on the row of the lit "Repeat One" lamp:
# switch it off.
read -r _ gh _ gy <<<"$(box_of_colour "$d" "rgb(0,255,0)" 10% "${lw}x60+$((lx + lw / 3))+$((ly - 70))")"
top=800x80+112+30  # above the dialog
check "the user's picture is behind the dialog" test "$(tint "$d" $top)" = red
xdotool mousemove $((lx + 60)) $((ly - 70 + gy + gh / 2)) click 1
builtin_back() { test "$(tint "$(shot lamp-off)" $top)" = other; }
check "the built-in picture is back" wait_for 5 builtin_back
xdotool key Escape
check "Escape hides the dialog" wait_for 5 hidden "$title"
sleep 0.3
hidden=$(shot dialog-hidden)
check "the hidden dialog leaves the screen" test "$(list_pixels "$hidden")" -lt 1000
tr -d '\r' <"$ini" | sed -n '/\[Custom Images\]/,/^\[/p' >"$E2E_OUT/saved.txt"
cat "$E2E_OUT/saved.txt"
check "hiding saved the switch" grep -qx "OwnImage=0" "$E2E_OUT/saved.txt"
check "hiding saved the list" grep -qx 'ImageList0=C:\\nerith_pics\\red.png' "$E2E_OUT/saved.txt"
check "of one picture" grep -qx 'ImageSum=1' "$E2E_OUT/saved.txt"
open_dialog
again=$(shot dialog-again)
check "the dialog shows again" test "$(list_pixels "$again")" -gt 20000
blue2=$(count_of_colour "$again" "rgb(0,0,255)" 30% "${lw}x20+${lx}+${ly}")
check "the list is kept" test "$blue2" -gt 30
xdotool key Escape
check "hidden again" wait_for 5 hidden "$title"
check "the program runs on" kill -0 "$APP_PID"
winctl close; app_wait 20
check "closing ends the program" test "$APP_STATUS" = 0

# 4. A 50-megapixel photo (made here, too large to keep in the repository) added through
# "Add Image" and the system's open dialog: it is decoded reduced for the screen, apart from the
# tank, which swims on meanwhile, and shows without a message.
"$ROOT/build/host/bigphoto" "$pics/big.jpg" 8200 6200 30 200 40 || fail "bigphoto"
write_ini "${base[@]}" "[Custom Images]" "OwnImage=1" "RepeatImage=1" "ImageTime=5" "ImageSum=0"
check "starts without pictures" app_start
check "frames come" wait_frames 40 60
check "the built-in picture shows" test "$(tint "$(shot big-before)")" = other
open_dialog
read -r _ bx by bw bh <<<"$(winctl window "$title" 1008)"
xdotool mousemove $((bx + bw / 2)) $((by + bh / 2)) click 1
check "the open dialog shows" wait_for 5 shown Open
sleep 0.5
xdotool type --delay 20 'C:\nerith_pics\big.jpg'
xdotool key Return
check "the open dialog goes" wait_for 5 hidden Open
# Until the photo shows above the dialog: the frames counted now and then, the longest stretch
# without a new one remembered.
f0=$(frames); t0=$(now_ms); last=$f0; last_t=$t0; stall=0; seen=""
while [ $(( $(now_ms) - t0 )) -lt 60000 ]; do
  f=$(frames); t=$(now_ms)
  if [ "$f" != "$last" ]; then last=$f; last_t=$t; fi
  [ $((t - last_t)) -gt "$stall" ] && stall=$((t - last_t))
  seen=$(tint "$(shot big-loading)" $top)
  [ "$seen" = green ] && break
  sleep 0.2
done
echo "the photo showed after $(( $(now_ms) - t0 )) ms, $(( $(frames) - f0 )) frames meanwhile, longest stall ${stall} ms"
check "the photo shows" test "$seen" = green
check "the tank swam on meanwhile" test $(( $(frames) - f0 )) -gt 5
check "added once, no loading error" wait_for 3 eval 'count_is_now pictures_added 1 && count_is_now picture_errors 0'
check "no message" test "$(winctl count)" = 1
xdotool key Escape
check "hidden" wait_for 5 hidden "$title"
check "the photo behind the water" test "$(tint "$(shot big-shown)")" = green
winctl close; app_wait 20
check "closing ends the program" test "$APP_STATUS" = 0

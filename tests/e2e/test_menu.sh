# The popup menu with real mouse events: a right click shows the eight entries, a mode entry
# changes what a left click does, and Exit ends the program at once with status 0.
screen 1024x768
mapfile -t fish < <(roster 3)
write_ini "[Aquarium Settings]" "BACKGROUND=1" "QIPAONUM=200" "${fish[@]}"
check "starts" app_start
check "frames come" wait_frames 40
ini=$WINDIR/PondelSet.ini
cp "$ini" "$E2E_OUT/before.ini"

# Where the menu shows: its top-left corner sits at the click point (plus the menu border).
menu_x=300; menu_y=150
row_y() { echo $((menu_y + 3 + $1 * 48 + 24)); }  # the middle of entry $1 (0-based)
xdotool mousemove $menu_x $menu_y click 3
sleep 1
m=$(shot menu)
read -r sr sg sb <<<"$(pixel "$m" $((menu_x + 12)) $((menu_y + 3 + 48 * 5 + 2)))"
read -r fr fg fb <<<"$(pixel "$m" $((menu_x + 100)) $((menu_y + 3 + 48 * 5 + 2)))"
echo "strip $sr $sg $sb, field $fr $fg $fb"
check "the icon strip is grey" test "$sr" = 219 -a "$sg" = 216 -a "$sb" = 209
check "the caption field is near-white" test "$fr" = 249 -a "$fg" = 248 -a "$fb" = 247
# Eight rows of 48 pixels: the last row's field is there, below it the menu ends.
read -r lr lg lb <<<"$(pixel "$m" $((menu_x + 100)) $((menu_y + 3 + 48 * 7 + 40)))"
read -r br bg bb <<<"$(pixel "$m" $((menu_x + 100)) $((menu_y + 3 + 48 * 8 + 10)))"
check "eight rows" test "$lr $lg $lb" = "249 248 247" -a "$br $bg $bb" != "249 248 247"

# Hovering an entry frames and tints it.
xdotool mousemove $((menu_x + 80)) "$(row_y 2)"
sleep 0.5
h=$(shot menu-hover)
read -r hr hg hb <<<"$(pixel "$h" $((menu_x + 100)) $(( $(row_y 2) + 10 )))"
check "the entry under the mouse is tinted" test "$hr $hg $hb" = "177 185 207"

# "  Custom Music" (entry 5): the mode becomes 1050 and a left click does nothing.
xdotool click 1  # closes the menu on entry 2 (Zoom In) first
sleep 0.5
xdotool mousemove $menu_x $menu_y click 3
sleep 0.5
xdotool mousemove $((menu_x + 80)) "$(row_y 5)" click 1
sleep 0.5
xdotool mousemove 512 384 click 1
sleep 1
check "in the music mode a left click drops nothing" test "$(count_of pellet_drops)" = 0
check "the program runs on" kill -0 "$APP_PID"

# "  Feed Fish" (entry 0), then a click in the tank: a pellet shows near the click.
xdotool mousemove $menu_x $menu_y click 3
sleep 0.5
xdotool mousemove $((menu_x + 80)) "$(row_y 0)" click 1
sleep 0.5
empty=$(shot feed-before)
xdotool mousemove 700 300 click 1
dropped() { [ "$(count_of pellet_drops)" = 1 ]; }
check "the feed click drops one pellet" wait_for 5 dropped
# The disc is small and spins, edge-on now and then: look a few times.
near="160x160+620+220"
seen=0
for k in 1 2 3 4 5; do
  sleep 0.3
  fed=$(shot "feed-after-$k")
  n=$(pellet_pixels "$fed" "$near")
  echo "pellet-coloured pixels near the click: $n (before the click: $(pellet_pixels "$empty" "$near"))"
  [ "$n" -gt "$(pellet_pixels "$empty" "$near")" ] && seen=1
done
check "a pellet shows near the click" test $seen = 1

# "  Exit" (entry 7).
xdotool mousemove 600 200 click 3
sleep 0.5
xdotool mousemove $((600 + 80)) $((200 + 3 + 7 * 48 + 24)) click 1
app_wait 20
check "Exit ends the program with status 0" test "$APP_STATUS" = 0
check "the settings file is unchanged" cmp -s "$ini" "$E2E_OUT/before.ini"

# The popup menu with real mouse events: a right click shows the eight entries where it was made,
# the entry under the mouse is tinted, a mode entry changes what a left click does, and Exit ends
# the program at once with status 0. (The keys, and a left click in another mode: test_keyboard_menu.)
screen 1024x768
mapfile -t fish < <(roster 3)
write_ini "[Aquarium Settings]" "BACKGROUND=1" "QIPAONUM=200" "${fish[@]}"
app_up 40
ini=$WINDIR/PondelSet.ini
cp "$ini" "$E2E_OUT/before.ini"

# The menu's top-left corner sits at the click point (plus its border); eight rows of 48 pixels.
menu_x=300; menu_y=150
row_y() { echo $((menu_y + 3 + $1 * 48 + 24)); }  # the middle of entry $1 (0-based)
field="249 248 247"
xdotool mousemove $menu_x $menu_y click 3
sleep 1
m=$(shot menu)
check "the grey icon strip starts at the click point" test "$(pixel "$m" $((menu_x + 12)) $((menu_y + 5)))" = "219 216 209"
check "eight rows" test "$(pixel "$m" $((menu_x + 100)) $(( $(row_y 7) + 16 )))" = "$field" \
  -a "$(pixel "$m" $((menu_x + 100)) $(( $(row_y 8) - 14 )))" != "$field"
xdotool mousemove $((menu_x + 80)) "$(row_y 2)"
sleep 0.5
check "the entry under the mouse is tinted" test "$(pixel "$(shot menu-hover)" $((menu_x + 100)) $(( $(row_y 2) + 10 )))" = "177 185 207"

# "  Zoom In Fish" (entry 2), then "  Feed Fish" (entry 0): a click in the tank shows a pellet there.
xdotool click 1
sleep 0.5
menu_entry 0 $menu_x $menu_y
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
  n=$(pellet_pixels "$(shot "feed-after-$k")" "$near")
  echo "pellet-coloured pixels near the click: $n (before the click: $(pellet_pixels "$empty" "$near"))"
  [ "$n" -gt "$(pellet_pixels "$empty" "$near")" ] && seen=1
done
check "a pellet shows near the click" test $seen = 1

menu_entry 7 600 200  # "  Exit"
app_wait 20
check "Exit ends the program with status 0" test "$APP_STATUS" = 0
check "the settings file is unchanged" cmp -s "$ini" "$E2E_OUT/before.ini"

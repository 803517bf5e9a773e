# Touching and zooming a fish with real mouse events: the click lands on the fish the screen
# shows, and the program answers it.
screen 1024x768
mapfile -t fish < <(roster 1)
write_ini "[Aquarium Settings]" "BACKGROUND=1" "QIPAONUM=200" "${fish[@]}"
app_up 40 "starts with one fish"

choose() { menu_entry "$1" 40 40; sleep 0.3; }  # an entry of the menu opened at a quiet corner

# click_fish NAME: clicks the middle of the fish's bounding box on a fresh screenshot; fails
# without clicking while the fish is out of sight (it swims wider than the screen shows).
click_fish() {
  local f box w h x y
  f=$(shot "$1")
  box=$(convert "$f" -threshold 6% -format "%@" info: 2>/dev/null)  # WxH+X+Y of all not black
  w=${box%%x*}; h=${box#*x}; h=${h%%+*}
  x=$(echo "$box" | cut -d+ -f2); y=$(echo "$box" | cut -d+ -f3)
  [ "$w" -ge 8 ] && [ "$h" -ge 8 ] || return 1
  echo "fish at $box"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# answered COUNTER BEFORE: waits until the counter has grown past BEFORE.
grown() { [ "$(count_of "$1")" -gt "$2" ]; }
answered() { wait_for 2 grown "$@"; }

# reaches NAME: clicks on the fish until the program reports a fish picked (or gives up).
reaches() {
  local attempt before
  for attempt in $(seq 40); do
    before=$(count_of fish_picks)
    click_fish "$1-$attempt" && answered fish_picks "$before" && return 0
    sleep 0.5
  done
  return 1
}

choose 2   # "  Zoom In Fish"
check "a zoom click on the fish reaches it" reaches zoom
choose 1   # "  Touch Fish"
check "a touch on the fish reaches it" reaches touch

# A click in empty water picks nothing.
before=$(count_of fish_picks)
f=$(shot water)
box=$(convert "$f" -threshold 6% -format "%@" info: 2>/dev/null)
x=$(echo "$box" | cut -d+ -f2)
[ "${x:-0}" -gt 512 ] && wx=100 || wx=900
xdotool mousemove $wx 700 click 1
wait_frames $(( $(frames) + 20 )) >/dev/null  # time enough for a pick to be answered
check "a click in empty water picks no fish" test "$(count_of fish_picks)" = "$before"
app_end "the program ends cleanly"

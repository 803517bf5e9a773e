# The long run (make longrun): the popup menu opened and closed 500 times and each of the four
# dialogs 50 times, interleaved, while the tank renders; the process's resident memory, GDI objects
# and windows (counted every 500 frames) must not grow beyond noise, and frames must keep coming.
screen 1024x768
mapfile -t fish < <(roster 10)
write_ini "[Aquarium Settings]" "QIPAONUM=100" "${fish[@]}"
app_up 520 "starts" 120

rss() { awk '/^VmRSS/ {print int($2 / 1024)}' "/proc/$APP_PID/status"; }
visible() { xdotool search --onlyvisible --name "^$1" >/dev/null 2>&1; }
# The object counts of the next 500-frame sample.
sample() {
  local f; f=$(frames)
  wait_frames $(( (f / 500 + 1) * 500 + 20 )) 120 || fail "frames stopped at $(frames)"
  echo "$(rss) $(value gdi_objects) $(value user_windows)"
}

menu_x=300; menu_y=150
entry() { xdotool mousemove $((menu_x + 80)) $((menu_y + 3 + $1 * 48 + 24)) click 1; }
open_menu() { xdotool mousemove $menu_x $menu_y click 3; sleep 0.25; }
# dialog N: opens one of the four dialogs, waits for it and closes (or hides) it with Escape.
# A menu slow to appear under load can miss the click: then the menu is tried again.
dialog() {
  local title try
  for try in 1 2 3; do
    case $1 in
      0) title="Fish Settings"; open_menu; entry 4 ;;
      1) title="Custom Music"; open_menu; entry 5 ;;
      2) title="Custom Background"; open_menu; entry 6 ;;
      3) title="Aquarium Settings"; winctl command 1040 ;;
    esac
    wait_for 5 visible "$title" && break
    xdotool key Escape
  done
  visible "$title" || fail "the $title dialog did not open"
  xdotool key Escape
  wait_for 10 eval '! visible "$title"' || fail "the $title dialog did not close"
  opened=$((opened + 1))
}

# One round of every dialog first, so that what the system keeps once (fonts, classes, caches)
# is already there when the counting starts.
opened=0
for d in 0 1 2 3; do dialog $d; done
read -r rss0 gdi0 win0 <<<"$(sample)"
echo "start: rss ${rss0} MB, gdi $gdi0, windows $win0"

# 500 menus and 50 openings of each dialog (LONGRUN_MENUS, LONGRUN_DIALOGS), interleaved.
menus_wanted=${LONGRUN_MENUS:-500}
dialogs_wanted=$(( ${LONGRUN_DIALOGS:-50} * 4 ))
started=$SECONDS
menus=0; opened=0
while [ $menus -lt $menus_wanted ] || [ $opened -lt $dialogs_wanted ]; do
  if [ $menus -lt $menus_wanted ]; then
    open_menu
    xdotool key Escape
    sleep 0.1
    menus=$((menus + 1))
  fi
  while [ $opened -lt $dialogs_wanted ] && [ $((opened * menus_wanted)) -lt $((menus * dialogs_wanted)) ]; do
    dialog $((opened % 4))
  done
  kill -0 "$APP_PID" 2>/dev/null || fail "the program ended after $menus menus"
done
echo "menus opened $menus, dialogs opened $opened in $(( (SECONDS - started) / 60 )) minutes"

read -r rss1 gdi1 win1 <<<"$(sample)"
echo "end: rss ${rss1} MB, gdi $gdi1, windows $win1"
check "frames keep coming" wait_frames $(( $(frames) + 50 )) 30
check "windows did not grow" test "$win1" -le "$win0"
check "GDI objects did not grow beyond noise" test "$gdi1" -le $((gdi0 + 10))
check "memory did not grow beyond noise" test "$rss1" -le $((rss0 + 24))
app_kill

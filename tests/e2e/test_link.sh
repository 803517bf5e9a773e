# The web link of Fish Settings with the real mouse: a click starts the browser once. The
# program runs in a folder of its own holding a stand-in IEXPLORE.exe (winctl under that name),
# which the link finds before Wine's own and which notes each start in browser-starts.txt.
screen 1024x768
mapfile -t fish < <(roster 0)
write_ini "[Aquarium Settings]" "BACKGROUND=1" "${fish[@]}"
browser=$E2E_OUT/browser
rm -rf "$browser"; mkdir -p "$browser"
cp "$ROOT/build/win/winctl.exe" "$browser/IEXPLORE.exe"
cd "$browser" || fail "no browser folder"
starts() { [ -f browser-starts.txt ] && wc -l <browser-starts.txt || echo 0; }
starts_at_least() { [ "$(starts)" -ge "$1" ]; }

app_up 40
title="Fish Settings - 3D Nerith Fish Screensaver 1.0"
menu_entry 4  # "  Add/Delete Fish"
check "the menu entry opens the dialog" wait_for 5 shown "$title"
read -r _ lx ly lw lh <<<"$(winctl window "$title" 1037)"
echo "link at $lx $ly size $lw x $lh"
check "the link is there" test "${lw:-0}" -gt 20
shot before-click >/dev/null

xdotool mousemove $((lx + lw / 2)) $((ly + lh / 2)) click 1
check "the click starts the browser" wait_for 10 starts_at_least 1
sleep 3  # a second start of the same click would follow within a moment
check "once" test "$(starts)" = 1
echo "the browser's command lines:"; tr -d '\r' <browser-starts.txt
check "with the address" grep -q "http" browser-starts.txt
shot visited >/dev/null

# The browser took the focus, as a real one does: back to the dialog (its empty band), Escape.
read -r _ dx dy dw dh <<<"$(winctl window "$title")"
xdotool mousemove $((dx + dw / 2)) $((dy + dh - 70)) click 1
sleep 0.3
xdotool key Escape
check "Escape closes the dialog" wait_for 3 hidden "$title"
app_end "the program ends with status 0"
cd "$ROOT"

# Screens of every size and shape, one start each: a listed size whose picture once left a column
# of the wall at each side, an unlisted 16:10, a portrait and a super-wide screen. On each the
# picture covers every pixel, the view fills the screen, and a click near any corner feeds there.
drops_at_least() { [ "$(count_of pellet_drops)" -ge "$1" ]; }
mapfile -t fish < <(roster 20)
write_ini "[Aquarium Settings]" "${fish[@]}"
for size in 1366x768 1920x1200 1080x1920 3440x1440; do
  screen "$size"
  w=${size%x*}; h=${size#*x}
  app_up 30 "starts at $size" 60
  check "the view fills the $size screen" grep -qx "view 0 0 $w $h" <<<"$(winctl info)"
  img=$(shot "screen-$size")
  band="${w}x$((h / 20))+0+$((h / 5))"
  echo "measure: $size lit share of a band across the water $(awk -v l="$(lit "$img" "$band")" -v n=$((w * (h / 20))) \
    'BEGIN { printf "%.3f", l / n }'), edges lit (left right top bottom, %) $(edges "$img")"
  check "no black band at any edge at $size" covers "$img"
  # Near each corner, 3 % in: each click becomes a pellet.
  n=0
  for at in "3 10" "97 10" "3 90" "97 90"; do
    read -r px py <<<"$at"
    xdotool mousemove $((w * px / 100)) $((h * py / 100)) click 1
    n=$((n + 1))
    check "a click at $px %, $py % of $size feeds" wait_for 10 drops_at_least $n
  done
  app_end "ends with status 0 at $size"
done

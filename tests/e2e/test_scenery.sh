# The scenery at two screen sizes: the background picture through the water and the bubbles
# (their light is compared with a tank without them at the first size).
for size in 1024x768 1920x1080; do
  screen "$size"
  w=${size%x*}; h=${size#*x}
  mapfile -t fish < <(roster 0)
  if [ "$size" = 1024x768 ]; then  # the bubbles' light is compared at one size
    write_ini "[Aquarium Settings]" "QIPAONUM=200" "${fish[@]}"
    check "starts without bubbles at $size" app_start
    check "frames come" wait_frames 100 60
    plain=$(shot "plain-$size")
    winctl close
    app_wait 20
  fi
  write_ini "[Aquarium Settings]" "QIPAONUM=0" "${fish[@]}"
  check "starts with all bubbles at $size" app_start
  check "frames come" wait_frames 100 60
  a=$(shot "bubbles-$size")
  wait_frames $(( $(frames) + 30 )) >/dev/null
  b=$(shot "bubbles2-$size")
  read -r tr tg tb <<<"$(pixel "$a" $((w / 2)) $((h / 8)))"
  # The floor: the mean of the bottom strip (sand, rocks, plants; the bubbles are a small part).
  read -r sr sg sb <<<"$(convert "$a" -gravity south -crop 100%x8%+0+0 +repage \
      -format "%[fx:int(255*mean.r)] %[fx:int(255*mean.g)] %[fx:int(255*mean.b)]" info:)"
  echo "water $tr $tg $tb, floor $sr $sg $sb"
  check "water above is blue" test "$tb" -gt "$tr" -a "$tb" -gt 120
  check "the sandy floor below is warm" test "$sr" -gt "$sb"
  if [ "$size" = 1024x768 ]; then
    band="$((w / 4))x$h+$((w * 3 / 8))+0"
    echo "bright pixels in the middle band: $(bright "$plain" "$band") without bubbles, $(bright "$a" "$band") with"
    check "bubbles add light" test "$(bright "$a" "$band")" -gt $(( $(bright "$plain" "$band") + 100 ))
  fi
  check "the water moves" test "$(differ "$a" "$b")" -gt 5000
  winctl close
  app_wait 20
done

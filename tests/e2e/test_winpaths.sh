# The Windows-only paths, forced under Wine through the instrumented build: the view rendering
# straight into its own window (as every Windows user gets it), and the per-user folder taken when
# the Windows directory accepts no new files.
screen 1024x768
mapfile -t fish < <(roster 4)

# Direct rendering: frames come without a GL error and the back buffer holds the scene.
write_ini "[Aquarium Settings]" "QIPAONUM=200" "${fish[@]}"
NERITH_DIRECT_GL=1 app_up 120 "starts rendering directly"
check "the direct path was taken" grep -q "^note render direct" <(tr -d '\r' <"$LOG")
read -r lit colours < <(tr -d '\r' <"$LOG" | awk '$1=="backbuffer" {print $2, $3}')
echo "back buffer: $lit per mille lit, $colours colours; gl_errors $(value gl_errors)"
check "no GL error" test "$(value gl_errors)" = 0
check "the back buffer holds a lit scene" test "${lit:-0}" -gt 500 -a "${colours:-0}" -ge 6
shot direct >/dev/null
app_end

# The per-user folder: the settings are copied there, the work files are made and removed there,
# and the Windows directory is left as it was. (A second start keeps them: ResourcePackWinTest.)
local_app=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -path '*AppData/Local' | head -1)
check "the user's AppData\\Local exists" test -n "$local_app"
per_user=$local_app/NerithScr
rm -rf "$per_user"
mkdir -p "$per_user"
write_ini "[Aquarium Settings]" "QIPAONUM=150" "BACKGROUND=1" "${fish[@]}"
rm -f "$WINDIR"/*.ad "$WINDIR"/Particle1.bmp
# Stale work files in both folders: the one in the per-user folder is replaced and removed by the
# program, the one in the Windows directory must survive untouched.
head -c 5000 /dev/urandom >"$WINDIR/Particle1.ad"
head -c 5000 /dev/urandom >"$per_user/Particle1.ad"
(cd "$WINDIR" && sha1sum PondelSet.ini Particle1.ad) >"$E2E_OUT/windir.sha1"
NERITH_PER_USER=1 app_up 40 "starts with the per-user folder"
app_end
ini=$per_user/PondelSet.ini
tr -d '\r' <"$ini" >"$E2E_OUT/per_user.ini"
check "the user's settings came along" grep -qx "QIPAONUM=150" "$E2E_OUT/per_user.ini"
check "and the fish roster" grep -qx "Fish3=1" "$E2E_OUT/per_user.ini"
check "the defaults were written there" test "$(grep -c = "$E2E_OUT/per_user.ini")" -eq 47
check "the Windows directory is untouched" bash -c "cd '$WINDIR' && sha1sum -c --quiet '$E2E_OUT/windir.sha1'"
leftovers=$(cd "$per_user" && ls | grep -v '^PondelSet.ini$' | tr '\n' ' ')
check "the work files were made and removed there ($leftovers)" test -z "$leftovers"
rm -f "$WINDIR/Particle1.ad"


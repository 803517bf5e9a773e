# Sourced by the test and run scripts: a private Xvfb screen and a project-local Wine prefix.
#   start_xvfb WIDTHxHEIGHT   starts Xvfb on a free display, sets DISPLAY and XVFB_PID
#   stop_xvfb                 ends that Xvfb (by its PID)
#   wine_prefix_ready         sets WINEPREFIX (unless the user set one) and boots it once
#   wine_stop                 ends the processes of that prefix (wineserver -k)
ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}

start_xvfb() {
  local size=${1:-1024x768} n
  for n in $(seq 60 99); do
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
    Xvfb :$n -screen 0 ${size}x24 +extension GLX -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do
      [ -e /tmp/.X11-unix/X$n ] && break
      kill -0 $XVFB_PID 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 $XVFB_PID 2>/dev/null; then export DISPLAY=:$n; return 0; fi
  done
  echo "could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}

wine_prefix_ready() {
  export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix}
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "preparing the Wine prefix $WINEPREFIX (first time only)"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
}

wine_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
}

# The Windows directory of the prefix, where the program keeps its settings and work files.
wine_windir() { echo "$WINEPREFIX/drive_c/windows"; }

# wine_window_manager yes|no: whether Wine hands its windows to an X window manager. A private
# Xvfb has none, so there Wine places and maximises windows itself, as Windows does.
wine_window_manager() {
  local v=Y; [ "$1" = no ] && v=N
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $v /f >/dev/null 2>&1
  wineserver -w
}

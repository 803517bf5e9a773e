#!/usr/bin/env bash
# The instrumented build's own figures from a side-by-side run (its log, copied out of the Wine
# prefix through NERITH_LOG_COPY): the frame clock's period and the sampled stage times.
# Usage: scripts/bench-report.sh LOG
log=${1:?the instrumented build\'s log}
[ -s "$log" ] || { echo "NerithScr: no instrumented log"; exit 0; }
tr -d '\r' <"$log" | awk '
  $1 == "tick" {
    printf "NerithScr tick: %.2f ms mean period (%.2f to %.2f), %d ticks, %d frames started by them (%s timer)\n",
           $3, $5, $7, $9, $11, $13
  }
  $1 == "frames" { frames = $2 }
  $1 == "elapsed_ms" { elapsed = $2 }
  $1 == "cpu_ms" { cpu = $2 }
  $1 == "stage" { stages = stages sprintf(" %s %.2f", $2, $6) }
  END {
    if (frames > 1) printf "NerithScr over the run: %.2f ms a frame, %.2f ms of its own process CPU a frame (%d frames)\n",
                           elapsed / (frames - 1), cpu / (frames - 1), frames
    if (stages != "") print "NerithScr stage times, ms (sampled frames):" stages
  }'

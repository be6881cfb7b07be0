#!/bin/sh
# Builds the conversion benchmark in Release, generates a one-million-point
# 3D list in "Gauß-Krüger (Oru)" and a drawing with as many coordinate groups,
# converts both to "LTM (Oru)" with the built-in set B, and compares each
# engine run with a floor that only reads, parses and writes the same lines
# (its output, like the engine's, is written to a temporary file, forced to
# the disk and renamed over the output name). The same points as a pt_BR
# spreadsheet (';', decimal commas, a header row, a descriptor column) are
# converted as a delimited file and compared with the list floor and the
# list engine.
#
# The four runs are interleaved RUNS times (default 7), so that a slow
# moment of the machine falls on floor and engine alike; the ratio is taken
# between medians. Targets: engine at most 2.0x its floor; the spreadsheet
# within 1.5x the list; peak memory below 16 MiB whatever the size.
#
#   bench/conversion/run-bench.sh            1,000,000 points, 7 rounds
#   RUNS=11 POINTS=200000 bench/conversion/run-bench.sh
#   SCALE=1 bench/conversion/run-bench.sh    also a 10,000,000-point list, a
#                                            drawing of 540 MB and a
#                                            10,000,000-point spreadsheet, once
#
# WORK names the folder for the generated files (default: a new folder
# under /tmp, removed at the end); put it on the disk to be measured.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/conversion-bench}
points=${POINTS:-1000000}
runs=${RUNS:-7}
if [ -n "${WORK:-}" ]; then
  work=$WORK
  mkdir -p "$work"
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTRANSREF_BUILD_GUI=OFF \
  -DTRANSREF_BUILD_TESTS=OFF -DTRANSREF_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target conversion_bench >/dev/null
bench=$build/bin/conversion_bench

"$bench" generate-list "$points" "$work/points.txt"
"$bench" generate-dxf "$points" "$work/drawing.dxf"
"$bench" generate-csv "$points" "$work/points.csv"
sync  # the generated files reach the disk before anything is timed

# Seconds of one run (the fourth word of the bench's line).
seconds() { "$@" | awk '{print $4}'; }

: >"$work/times.txt"
round=1
while [ "$round" -le "$runs" ]; do
  echo "floor-list $(seconds "$bench" floor "$work/points.txt" "$work/floor.txt")" >>"$work/times.txt"
  echo "engine-list $(seconds "$bench" convert list "$work/points.txt" "$work/engine.txt")" >>"$work/times.txt"
  echo "floor-dxf $(seconds "$bench" floor-dxf "$work/drawing.dxf" "$work/floor.dxf")" >>"$work/times.txt"
  echo "engine-dxf $(seconds "$bench" convert dxf "$work/drawing.dxf" "$work/engine.dxf")" >>"$work/times.txt"
  echo "engine-csv $(seconds "$bench" convert csv "$work/points.csv" "$work/engine.csv")" >>"$work/times.txt"
  round=$((round + 1))
done

# Peak resident memory in KiB of one command (GNU time), or "?" without it.
peak() {
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f '%M' -o "$work/peak.txt" "$@" >/dev/null
    cat "$work/peak.txt"
  else
    "$@" >/dev/null
    echo "?"
  fi
}

echo "$points points, $runs interleaved rounds (seconds: min / median / max)"
awk -v points="$points" '
  { t[$1, ++n[$1]] = $2 }
  function median(k,   i, j, m, v, tmp) {
    m = n[k]
    for (i = 1; i <= m; i++) v[i] = t[k, i]
    for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (v[j] < v[i]) { tmp = v[i]; v[i] = v[j]; v[j] = tmp }
    lo[k] = v[1]; hi[k] = v[m]
    return m % 2 ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2
  }
  function spread(e, f,   i, r, a, b) {
    a = 1e9; b = 0
    for (i = 1; i <= n[e]; i++) { r = t[e, i] / t[f, i]; if (r < a) a = r; if (r > b) b = r }
    return sprintf("%.2f-%.2fx", a, b)
  }
  END {
    split("floor-list engine-list floor-dxf engine-dxf engine-csv", order, " ")
    for (i = 1; i <= 5; i++) {
      k = order[i]; med[k] = median(k)
      printf "  %-12s %.3f / %.3f / %.3f s   %.2f M points/s (median)\n", k, lo[k], med[k], hi[k], points / med[k] / 1e6
    }
    printf "list engine / list floor: %.2fx by medians (round by round %s; target <= 2.0x)\n",
           med["engine-list"] / med["floor-list"], spread("engine-list", "floor-list")
    printf "dxf engine / dxf floor:   %.2fx by medians (round by round %s; target <= 2.0x)\n",
           med["engine-dxf"] / med["floor-dxf"], spread("engine-dxf", "floor-dxf")
    printf "csv engine / list engine: %.2fx by medians (round by round %s; target <= 1.5x); / list floor: %.2fx\n",
           med["engine-csv"] / med["engine-list"], spread("engine-csv", "engine-list"),
           med["engine-csv"] / med["floor-list"]
  }' "$work/times.txt"
echo "peak memory (KiB): list $(peak "$bench" convert list "$work/points.txt" "$work/engine.txt"), drawing $(peak "$bench" convert dxf "$work/drawing.dxf" "$work/engine.dxf"), spreadsheet $(peak "$bench" convert csv "$work/points.csv" "$work/engine.csv") (target < 16384)"

if [ "${SCALE:-0}" = 1 ]; then
  rm -f "$work"/points.txt "$work"/points.csv "$work"/drawing.dxf "$work"/*.txt.* "$work"/engine.* "$work"/floor.*
  "$bench" generate-list 10000000 "$work/big.txt"
  "$bench" generate-dxf 8500000 "$work/big.dxf"
  "$bench" generate-csv 10000000 "$work/big.csv"
  sync
  mb() { echo $(($(wc -c <"$1") / 1000000)); }
  echo "scale: list of $(mb "$work/big.txt") MB, drawing of $(mb "$work/big.dxf") MB"
  for kind in list dxf csv; do
    in=$work/big.txt
    [ "$kind" = dxf ] && in=$work/big.dxf
    [ "$kind" = csv ] && in=$work/big.csv
    if [ -x /usr/bin/time ]; then
      /usr/bin/time -f '%M' -o "$work/peak.txt" "$bench" convert "$kind" "$in" "$work/big-out.$kind" >"$work/line.txt"
      echo "  $(cat "$work/line.txt")  peak $(cat "$work/peak.txt") KiB"
    else
      "$bench" convert "$kind" "$in" "$work/big-out.$kind"
    fi
    rm -f "$work/big-out.$kind"
  done
fi

#!/bin/sh
# The grid model against the three-parameter model on the same file: a
# one-million-point list in SAD 69 / UTM 23 S converted to SIRGAS 2000 /
# UTM 23 S through IBGE's SAD69_003.gsb and through IBGE's translation,
# interleaved RUNS times (default 7); medians compared. Targets: the grid
# run within 1.5x of the parameter run; peak memory flat in the number of
# points (POINTS=100000 and the full size print nearly the same peak).
#
#   bench/conversion/run-grid-bench.sh
#   RUNS=3 POINTS=200000 bench/conversion/run-grid-bench.sh
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/conversion-bench}
points=${POINTS:-1000000}
runs=${RUNS:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTRANSREF_BUILD_GUI=OFF \
  -DTRANSREF_BUILD_TESTS=OFF -DTRANSREF_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target conversion_bench >/dev/null
bench=$build/bin/conversion_bench

"$bench" generate-sad69 "$points" "$work/sad69.txt"
"$bench" generate-sad69 $((points / 10)) "$work/sad69-small.txt"

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
: >"$work/grid.s"; : >"$work/params.s"
for i in $(seq "$runs"); do
  "$bench" convert-sad69 grid "$work/sad69.txt" "$work/out.txt" | awk '{print $4}' >>"$work/grid.s"
  "$bench" convert-sad69 3 "$work/sad69.txt" "$work/out.txt" | awk '{print $4}' >>"$work/params.s"
done
grid=$(median <"$work/grid.s")
params=$(median <"$work/params.s")
echo "grid $grid s, 3 parameters $params s, ratio $(echo "$grid $params" | awk '{printf "%.2f", $1 / $2}')"
for file in sad69-small sad69; do
  peak=$(/usr/bin/time -f %M "$bench" convert-sad69 grid "$work/$file.txt" "$work/out.txt" 2>&1 >/dev/null | tail -1)
  echo "peak memory, grid, $(wc -l <"$work/$file.txt") points: $peak KiB"
done

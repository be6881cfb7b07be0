#!/bin/sh
# Builds the conversion benchmark in Release, generates a one-million-point
# 3D list in "Gauß-Krüger (Oru)" and a drawing with as many coordinate groups,
# converts both to "LTM (Oru)" with the built-in set B, and compares the list
# runs with floors that only read, parse and write the same lines.
# Targets: engine within 2.5x the floor's time; peak memory below 16 MiB.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/conversion-bench}
points=${POINTS:-1000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTRANSREF_BUILD_GUI=OFF \
  -DTRANSREF_BUILD_TESTS=OFF -DTRANSREF_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target conversion_bench >/dev/null
bench=$build/bin/conversion_bench

"$bench" generate-list "$points" "$work/points.txt"
"$bench" generate-dxf "$points" "$work/drawing.dxf"

# Peak resident memory in KiB of one command (GNU time), or "?" without it.
peak() {
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -v "$@" 2>"$work/time.txt" >"$work/out.txt"
    sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt"
  else
    "$@" >"$work/out.txt"
    echo "?"
  fi
}

floor_kib=$(peak "$bench" floor "$work/points.txt" "$work/floor.txt"); floor=$(cat "$work/out.txt")
dxf_floor_kib=$(peak "$bench" floor-dxf "$work/drawing.dxf" "$work/floor.dxf"); dxf_floor=$(cat "$work/out.txt")
list_kib=$(peak "$bench" convert list "$work/points.txt" "$work/engine.txt"); list=$(cat "$work/out.txt")
dxf_kib=$(peak "$bench" convert dxf "$work/drawing.dxf" "$work/engine.dxf"); dxf=$(cat "$work/out.txt")

echo "$floor  (peak ${floor_kib} KiB)"
echo "$list  (peak ${list_kib} KiB)"
echo "$dxf_floor  (peak ${dxf_floor_kib} KiB)"
echo "$dxf  (peak ${dxf_kib} KiB)"
floor_s=$(echo "$floor" | awk '{print $4}')
list_s=$(echo "$list" | awk '{print $4}')
dxf_s=$(echo "$dxf" | awk '{print $4}')
dxf_floor_s=$(echo "$dxf_floor" | awk '{print $4}')
awk -v f="$floor_s" -v l="$list_s" -v d="$dxf_s" -v g="$dxf_floor_s" 'BEGIN {
  printf "list engine / list floor: %.2fx (target <= 2.5x)\n", l / f
  printf "dxf engine / dxf floor: %.2fx (target <= 2.5x)\n", d / g
}'
echo "peak memory target: < 16384 KiB"

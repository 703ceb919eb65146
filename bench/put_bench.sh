#!/usr/bin/env bash
# "P" of a 100,000-line linewise register at the top of a 1,000,000-line buffer, timed inside
# each editor so that only the put counts: put_bench (Google Benchmark, through the whole key
# path, undone between runs) and Vim in Ex mode with reltime() around "ggP" after "100000yy".
# Both work on the same text. Prints the median of each and their ratio.
# Usage: bench/put_bench.sh [RUNS] [BUILD_DIR]   (default 7 runs; build dir with TAVIK_BENCH=ON)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-7}
build=${2:-$root/build/registers-release}
bench="$build/bench/put_bench"
[ -x "$bench" ] || { echo "build put_bench first: cmake -B $build -DCMAKE_BUILD_TYPE=Release -DTAVIK_BENCH=ON && cmake --build $build --target put_bench" >&2; exit 1; }
work=${TMPDIR:-/tmp}/tavik-bench
mkdir -p "$work"
file="$work/put-1m.txt"
if [ ! -f "$file" ]; then
  python3 -c '
import sys
with open(sys.argv[1], "w") as f:
    for i in range(1000000):
        f.write("the quick brown fox jumps over the dog %d\n" % i)
' "$file"
fi

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

v_times=()
for ((i = 0; i < runs; i++)); do
  rm -f "$work/vim-put.txt"
  vim -u NONE -i NONE -n -es \
    -c 'normal! gg100000yy' \
    -c 'let t = reltime()' -c 'normal! ggP' -c 'let s = reltimefloat(reltime(t))' \
    -c 'if line("$") != 1100000 | let s = -1 | endif' \
    -c "call writefile([string(s * 1000)], '$work/vim-put.txt')" -c 'qa!' "$file" </dev/null || true
  v_times+=("$(cat "$work/vim-put.txt")")
done

t_ms=$("$bench" --benchmark_filter='BM_PutLinesAtTop' --benchmark_repetitions="$runs" \
  --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
  awk -F, '$1 ~ /_median"?$/ {print $3}')

vm=$(median "${v_times[@]}")
awk -v t="$t_ms" -v v="$vm" -v runs="$runs" 'BEGIN {
  printf "put of 100,000 lines at the top of 1,000,000 (median of %d)\n", runs
  printf "  tavik (put_bench, key path): %8.2f ms\n", t
  printf "  vim -es (normal! ggP):       %8.2f ms\n", v
  if (v < 0) { print "  vim did not put the lines"; exit 1 }
  printf "  ratio vim / tavik:           %8.2fx\n", v / t
}'

#!/usr/bin/env bash
# Search on the standard 1,000,000-line corpus, side by side with Vim in one run: the highlight
# ranges of the whole buffer against Vim's ":%s/lazy dog//gn" (which counts the same matches),
# one search over the whole buffer that finds nothing against Vim's "/lazy dig", and the time
# per typed key of "/lazy dog" and of "/zzqx" (which matches nowhere) with incsearch and hlsearch
# on. Both editors time only the work itself (search_bench with Google Benchmark, Vim with reltime()). Medians of RUNS.
# Usage: bench/compare_search.sh [RUNS] [BUILD_DIR]   (build dir with TAVIK_BENCH=ON)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-5}
build=${2:-$root/build/bench}
bench="$build/bench/search_bench"
[ -x "$bench" ] || { echo "build search_bench first: cmake -B $build -DCMAKE_BUILD_TYPE=Release -DTAVIK_BENCH=ON -DTAVIK_TESTS=OFF && cmake --build $build --target search_bench" >&2; exit 1; }
work=${TMPDIR:-/tmp}/tavik-bench
mkdir -p "$work"
file="$work/corpus-1m.txt"
[ -f "$file" ] || python3 /work/shared/bench/corpus.py "$file" 1000000

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
vim_ms() {  # milliseconds Vim spends in one ex command on the corpus
  rm -f "$work/vim-search.txt"
  vim -u NONE -i NONE -n -es -c 'let t = reltime()' -c "silent! $1" \
    -c 'let s = reltimefloat(reltime(t))' \
    -c "call writefile([string(s * 1000)], '$work/vim-search.txt')" -c 'qa!' "$file" </dev/null || true
  cat "$work/vim-search.txt"
}

v_count=(); v_find=()
for ((i = 0; i < runs; i++)); do
  v_count+=("$(vim_ms '%s/lazy dog//gn')")
  v_find+=("$(vim_ms 'exe "normal! gg/lazy dig\r"')")
done
csv=$(TAVIK_BENCH_CORPUS="$file" "$bench" --benchmark_repetitions="$((runs > 1 ? runs : 2))" \
  --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null)
pick() {  # median real time of one benchmark, in milliseconds
  echo "$csv" | awk -F, -v name="$1" '$1 ~ name"_median" {
    t = $3; u = $5; gsub(/"/, "", u)
    if (u == "us") t /= 1000; if (u == "ns") t /= 1e6; print t }'
}
t_all=$(pick BM_HighlightRangesWholeBuffer)
t_find=$(pick BM_FullBufferSearch)
t_typing=$(pick 'BM_IncrementalSearchPerKey/lazy_dog')
t_failing=$(pick 'BM_IncrementalSearchPerKey/zzqx')
awk -v ta="$t_all" -v va="$(median "${v_count[@]}")" -v tf="$t_find" -v vf="$(median "${v_find[@]}")" \
    -v tk="$t_typing" -v tz="$t_failing" -v runs="$runs" 'BEGIN {
  printf "search on the 1,000,000-line corpus, medians of %d, milliseconds\n", runs
  printf "  highlight ranges, whole buffer:  tavik %8.2f   vim :%%s//gn %8.2f   vim/tavik %5.2fx\n", ta, va, va / ta
  printf "  search finding nothing:          tavik %8.2f   vim /        %8.2f   vim/tavik %5.2fx\n", tf, vf, vf / tf
  printf "  incsearch, typing /lazy dog:     tavik %8.1f us per key (1/%d of one whole-buffer search)\n", tk / 9 * 1000, tf / (tk / 9)
  printf "  incsearch, typing /zzqx:         tavik %8.1f us per key (1/%d of one whole-buffer search)\n", tz / 5 * 1000, tf / (tz / 5)
}'

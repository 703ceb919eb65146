#!/usr/bin/env bash
# Pattern search side by side with Vim (and grep for the literal), several alternating runs,
# printing medians and ratios.
#
# Text: the standard corpus (1,000,000 lines) with " // padding: some trailing comment text"
# appended to every line (" // pad: comment"), about 70 MB. Pathological lines: N 'a' then 'c' (corpus.py --long).
#
# Usage: bench/regex_compare.sh [RUNS]     (default 5)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-5}
work=${TMPDIR:-/tmp}/tavik-regex-bench
build="$root/build/regex-bench"
mkdir -p "$work"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIK_BENCH=ON \
  -DTAVIK_TESTS=OFF >/dev/null
cmake --build "$build" --target regex_count -j2 >/dev/null
ours="$build/bench/regex_count"

file="$work/corpus-70mb.txt"
if [ ! -f "$file" ]; then
  python3 /work/shared/bench/corpus.py "$work/corpus.txt" 1000000
  sed 's|$| // pad: comment|' "$work/corpus.txt" > "$file"
  rm -f "$work/corpus.txt"
fi
echo "file: $file, $(wc -l < "$file") lines, $(stat -c %s "$file") bytes"

seconds() {  # wall seconds of a command; its stdout goes to $work/out.txt
  local t0 t1
  t0=$(date +%s.%N)
  "$@" >"$work/out.txt" 2>"$work/err.txt" </dev/null || true
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f", b - a }'
}
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

vim_count() {  # vim FILE PATTERN [ENGINE]: counts matches with :s///gn (engine 1: backtracking)
  timeout "${VIM_TIMEOUT:-60}" vim -u NONE -i NONE -n -es -c "set re=${3:-0}" \
    -c "redir! > $work/vim.txt" -c "silent! %s/$2//gn" -c 'redir END' -c 'q!' "$1"
}
vim_lines() {  # the line count of Vim's last ":s///n" message, 0 when nothing matched
  awk '/matches? on/ {n = $(NF - 1)} END {print n + 0}' "$work/vim.txt"
}

# compare NAME PATTERN FILE [grep]: medians of ours (whole process and search only), vim, grep.
compare() {
  local name=$1 pattern=$2 f=$3 with_grep=${4:-}
  local o=() v=() g=() count
  for ((i = 0; i < runs; i++)); do
    o+=("$(seconds "$ours" "$f" "$pattern")")
    count=$(cat "$work/out.txt")
    v+=("$(seconds vim_count "$f" "$pattern")")
    vim_lines_seen=$(vim_lines)
    if [ -n "$with_grep" ]; then g+=("$(seconds grep -c -- "$pattern" "$f")"); fi
  done
  local mo mv
  mo=$(median "${o[@]}"); mv=$(median "${v[@]}")
  printf '%-24s lines %s (vim %s)  ours %6.3f s  vim %6.3f s  vim/ours %5.1fx' \
    "$name" "$count" "$vim_lines_seen" "$mo" "$mv" "$(awk -v a="$mv" -v b="$mo" 'BEGIN{print a/b}')"
  if [ -n "$with_grep" ]; then
    local mg
    mg=$(median "${g[@]}")
    printf '  grep -c %7.3f s  ours/grep %5.2fx' "$mg" "$(awk -v a="$mo" -v b="$mg" 'BEGIN{print a/b}')"
  fi
  printf '\n'
}

compare "absent literal" 'XYZZY_NOT_HERE' "$file" grep
compare "absent classes+repeats" '\w\+zz\d' "$file"
compare "present literal" 'gamma delta' "$file" grep
compare "absent, classes only" '\<\a\+\d\{7}\>' "$file"

# Pathological patterns on one line of N 'a' then 'c'. Ours: the search alone, repeated 2,000
# times in process (a single run is below the timer's resolution); Vim: the whole process,
# with its default engine and with its backtracking engine (re=1), VIM_TIMEOUT seconds at most.
for n in 20 40 80 160; do
  python3 /work/shared/bench/corpus.py --long "$work/long-$n.txt" "$n"
done
for pattern in '^\(a\|aa\)*$' '^\(a*\)*b'; do
  prev=""
  for n in 20 40 80 160; do
    o=(); v=(); b=()
    for ((i = 0; i < runs; i++)); do
      "$ours" "$work/long-$n.txt" "$pattern" --whole --repeat 2000 >/dev/null 2>"$work/err.txt"
      o+=("$(awk '{for (i = 1; i < NF; i++) if ($i == "search_ms") print $(i + 1) * 1000}' "$work/err.txt")")
      v+=("$(seconds vim_count "$work/long-$n.txt" "$pattern")")
      b+=("$(VIM_TIMEOUT=${VIM_TIMEOUT:-10} seconds vim_count "$work/long-$n.txt" "$pattern" 1)")
    done
    mo=$(median "${o[@]}"); mv=$(median "${v[@]}"); mb=$(median "${b[@]}")
    growth=$([ -n "$prev" ] && awk -v a="$mo" -v b="$prev" 'BEGIN{if (b > 0) printf "%.2f", a/b; else print "-"}' || echo "-")
    printf '%-16s n=%-4s ours %9.3f us/search (x%s vs n/2)  vim %6.3f s  vim re=1 %6.3f s%s\n' \
      "$pattern" "$n" "$mo" "$growth" "$mv" "$mb" \
      "$(awk -v t="$mb" -v l="${VIM_TIMEOUT:-10}" 'BEGIN{if (t >= l) print " (timed out)"}')"
    prev=$mo
  done
done

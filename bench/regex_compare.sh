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

vim_count() {  # vim FILE PATTERN: counts matches with :s///gn
  timeout "${VIM_TIMEOUT:-60}" vim -u NONE -i NONE -n -es -c "redir! > $work/vim.txt" \
    -c "silent! %s/$2//gn" -c 'redir END' -c 'q!' "$1"
}

# compare NAME PATTERN FILE [grep]: medians of ours (whole process and search only), vim, grep.
compare() {
  local name=$1 pattern=$2 f=$3 with_grep=${4:-}
  local o=() s=() v=() g=() count
  for ((i = 0; i < runs; i++)); do
    o+=("$(seconds "$ours" "$f" "$pattern")")
    count=$(cat "$work/out.txt")
    s+=("$(awk '{for (i = 1; i < NF; i++) if ($i == "search_ms") print $(i + 1) / 1000}' "$work/err.txt")")
    v+=("$(seconds vim_count "$f" "$pattern")")
    if [ -n "$with_grep" ]; then g+=("$(seconds grep -c -- "$pattern" "$f")"); fi
  done
  local mo ms mv
  mo=$(median "${o[@]}"); ms=$(median "${s[@]}"); mv=$(median "${v[@]}")
  printf '%-26s lines %-8s ours %7.3f s (search %7.4f s)  vim %7.3f s  vim/ours %6.1fx' \
    "$name" "$count" "$mo" "$ms" "$mv" "$(awk -v a="$mv" -v b="$mo" 'BEGIN{print a/b}')"
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

# Pathological patterns: one line of N 'a' then 'c'; Vim is given VIM_TIMEOUT seconds.
for n in 20 40 80 160; do
  python3 /work/shared/bench/corpus.py --long "$work/long-$n.txt" "$n"
done
for pattern in '^\(a\|aa\)*$' '^\(a*\)*b'; do
  for n in 20 40 80 160; do
    VIM_TIMEOUT=${VIM_TIMEOUT:-20} compare "$pattern n=$n" "$pattern" "$work/long-$n.txt"
  done
done

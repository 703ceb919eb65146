# Helpers for the scripts that compare Tavik with Vim side by side; source it from bash.
#   tavik_binary [PATH]  the binary to measure: PATH, or the Release build brought up to date
#   corpus_1m            path of the standard 1,000,000-line corpus, written on first use
#   measure CMD...       runs CMD with no input and its output discarded; prints wall seconds, peak
#                        kilobytes and CPU seconds (user and system)
#   seconds CMD...       wall seconds of one command, which may be a shell function (measure
#                        runs a program, so it cannot time one)
#   median N...          the median of numbers

compare_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
compare_work=${TMPDIR:-/tmp}/tavik-bench
mkdir -p "$compare_work"

tavik_binary() {
  if [ -n "${1:-}" ]; then
    echo "$1"
    return
  fi
  # The wrapper brings the Release build up to date with the sources before it runs.
  "$compare_root/tavik" --help >/dev/null 2>&1 || true
  echo "$compare_root/build/release/tavik"
}

corpus_1m() {
  local file="$compare_work/corpus-1m.txt"
  [ -f "$file" ] || python3 /work/shared/bench/corpus.py "$file" 1000000
  echo "$file"
}

measure() {
  local record
  record=$(mktemp "$compare_work/time.XXXXXX")
  /usr/bin/time -f '%e %M %U %S' -o "$record" "$@" >/dev/null 2>/dev/null </dev/null || true
  awk '{printf "%s %s %.2f\n", $1, $2, $3 + $4}' "$record"
  rm -f "$record"
}

median() {
  printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'
}

seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1 </dev/null || true
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f\n", b - a }'
}

#!/usr/bin/env bash
# A block insertion typed on the first line of a block and copied to its other lines on Escape,
# side by side with Vim in one run: "04l", CTRL-V, N-1 "j", "I", C typed characters, Escape, for
# lines x characters of 1,000 x 1,000, 10,000 x 1,000 and 1,000 x 10,000. The outputs are
# compared byte for byte; medians of wall time over RUNS alternating runs are reported, with the
# load-only time subtracted.
# Usage: bench/block_insert_compare.sh [RUNS] [TAVIK_BINARY]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/compare_lib.sh"
runs=${1:-5}
tavik_bin=$(tavik_binary "${2:-}")
work=$(mktemp -d "${TMPDIR:-/tmp}/tavik-block.XXXXXX")
trap 'rm -rf "$work"' EXIT

printf '%-22s %10s %10s %12s %12s %8s\n' case tavik_s vim_s tavik_edit_s vim_edit_s ratio
for size in "1000 1000" "10000 1000" "1000 10000"; do
  read -r lines chars <<<"$size"
  file="$work/lines-$lines.txt"
  for ((i = 0; i < lines; i++)); do echo "the quick brown fox jumps over the lazy dog"; done >"$file"
  text=$(awk -v n="$chars" 'BEGIN { for (i = 0; i < n; i++) printf "%c", 97 + i % 26 }')
  keys="gg04l<C-v>$((lines - 1))jI$text<Esc>"
  run_tavik() { "$tavik_bin" --batch --no-rc --keys "$keys" "$file"; }
  run_tavik_load() { "$tavik_bin" --batch --no-rc "$file"; }
  run_vim() {
    vim -u NONE -i NONE -n -es -c "exe \"normal gg04l\\<C-v>$((lines - 1))jI$text\\<Esc>\"" \
      -c "w! $work/vim.out" -c 'q!' "$file"
  }
  run_vim_load() { vim -u NONE -i NONE -n -es -c "w! $work/vim-load.out" -c 'q!' "$file"; }

  run_tavik >"$work/tavik.out" 2>/dev/null
  run_vim
  if ! cmp -s "$work/tavik.out" "$work/vim.out"; then
    echo "outputs differ for $lines x $chars" >&2
    exit 1
  fi
  t=(); v=(); tl=(); vl=()
  for ((i = 0; i < runs; i++)); do
    t+=("$(seconds run_tavik)")
    v+=("$(seconds run_vim)")
    tl+=("$(seconds run_tavik_load)")
    vl+=("$(seconds run_vim_load)")
  done
  tm=$(median "${t[@]}"); vm=$(median "${v[@]}")
  te=$(echo "$tm - $(median "${tl[@]}")" | bc -l); ve=$(echo "$vm - $(median "${vl[@]}")" | bc -l)
  printf '%-22s %10.3f %10.3f %12.3f %12.3f %8.2f\n' "$lines lines x $chars" "$tm" "$vm" "$te" \
    "$ve" "$(echo "if ($ve > 0) $te / $ve else 0" | bc -l)"
done

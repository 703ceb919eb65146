#!/usr/bin/env bash
# A recorded 15-key macro that edits one line, run 10,000 times over a 10,000-line buffer, side
# by side with Vim in one run. Tavik records the macro with "qq" (editing line 1) and runs
# "9999@q"; Vim, whose ":normal" does not record, gets the register with ":let" and runs
# ":normal 10000@q". Every line is edited once either way. The outputs are compared byte for byte; medians of wall time
# over RUNS alternating runs are reported, with the load-only time subtracted.
# Usage: bench/macro_compare.sh [RUNS] [TAVIK_BINARY]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/compare_lib.sh"
runs=${1:-5}
tavik_bin=$(tavik_binary "${2:-}")
work=$(mktemp -d "${TMPDIR:-/tmp}/tavik-macro.XXXXXX")
trap 'rm -rf "$work"' EXIT
file="$work/lines.txt"
for ((i = 0; i < 10000; i++)); do echo "key_$i = value_$i;"; done >"$file"

# 15 keys: 0 c w n a m e <Esc> A space / / x <Esc> j
macro_keys='0cwname<Esc>A //x<Esc>j'
tavik_keys="qq${macro_keys}q9999@q"
vim_macro='0cwname\<Esc>A //x\<Esc>j'

run_tavik() { "$tavik_bin" --batch --no-rc --keys "$tavik_keys" "$file"; }
run_tavik_load() { "$tavik_bin" --batch --no-rc "$file"; }
run_vim() {
  vim -u NONE -i NONE -n -es -c "let @q=\"$vim_macro\"" -c 'normal gg10000@q' \
    -c "w! $work/vim.out" -c 'q!' "$file"
}
run_vim_load() { vim -u NONE -i NONE -n -es -c "w! $work/vim-load.out" -c 'q!' "$file"; }

# Same result first: otherwise the timing compares different work.
run_tavik >"$work/tavik.out" 2>/dev/null
run_vim
if ! cmp -s "$work/tavik.out" "$work/vim.out"; then
  echo "outputs differ:" >&2
  diff "$work/tavik.out" "$work/vim.out" | head -5 >&2
  exit 1
fi
echo "outputs identical ($(wc -l <"$work/tavik.out") lines, e.g. '$(sed -n 2p "$work/tavik.out")')"

t=(); v=(); tl=(); vl=()
for ((i = 0; i < runs; i++)); do
  t+=("$(seconds run_tavik)")
  v+=("$(seconds run_vim)")
  tl+=("$(seconds run_tavik_load)")
  vl+=("$(seconds run_vim_load)")
done
tm=$(median "${t[@]}"); vm=$(median "${v[@]}")
tlm=$(median "${tl[@]}"); vlm=$(median "${vl[@]}")
te=$(echo "$tm - $tlm" | bc -l); ve=$(echo "$vm - $vlm" | bc -l)
printf '%-22s %10s %10s %12s %12s %8s\n' case tavik_s vim_s tavik_edit_s vim_edit_s ratio
printf '%-22s %10.3f %10.3f %12.3f %12.3f %8.2f\n' "10000@q 10k lines" "$tm" "$vm" "$te" "$ve" \
  "$(echo "if ($ve > 0) $te / $ve else 0" | bc -l)"

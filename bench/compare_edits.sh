#!/usr/bin/env bash
# Large edits side by side with Vim on a 1,000,000-line file (the standard corpus), in one run:
# loading alone, "dG" then "u" from line 1, and putting 100,000 yanked lines at the top.
# Each case runs RUNS times, alternating the two editors; medians of wall time are reported,
# with the load-only time subtracted so that the ratio compares the edits themselves.
# Usage: bench/compare_edits.sh [RUNS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/compare_lib.sh"
runs=${1:-5}
file=$(corpus_1m)
tavik_bin=$(tavik_binary)

declare -A tavik_keys=(
  [load]=""
  [dG_u]="dGu"
  [put_100k]="100000yyP"
)
declare -A vim_cmds=(
  [load]=""
  [dG_u]="silent 1,\$d|silent undo"
  [put_100k]="silent 1,100000y|silent 0put"
)

declare -A t_med v_med
for case in load dG_u put_100k; do
  t=(); v=()
  for ((i = 0; i < runs; i++)); do
    if [ -n "${tavik_keys[$case]}" ]; then
      t+=("$(seconds "$tavik_bin" --batch --no-rc --keys "${tavik_keys[$case]}" "$file")")
      v+=("$(seconds vim -u NONE -i NONE -n -es -c "${vim_cmds[$case]}" -c 'q!' "$file")")
    else
      t+=("$(seconds "$tavik_bin" --batch --no-rc "$file")")
      v+=("$(seconds vim -u NONE -i NONE -n -es -c 'q!' "$file")")
    fi
  done
  t_med[$case]=$(median "${t[@]}")
  v_med[$case]=$(median "${v[@]}")
done

printf '%-10s %12s %12s %14s %14s %8s\n' case tavik_s vim_s tavik_edit_s vim_edit_s ratio
for case in load dG_u put_100k; do
  te=$(echo "${t_med[$case]} - ${t_med[load]}" | bc -l)
  ve=$(echo "${v_med[$case]} - ${v_med[load]}" | bc -l)
  ratio=$(echo "if ($ve > 0) $te / $ve else 0" | bc -l)
  printf '%-10s %12.3f %12.3f %14.3f %14.3f %8.2f\n' "$case" "${t_med[$case]}" "${v_med[$case]}" "$te" "$ve" "$ratio"
done

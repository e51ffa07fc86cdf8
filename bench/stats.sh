# Figures the benchmark scripts share; sourced, not run.

# The median of the numbers given.
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END{print (NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2}'; }

# The median of each round's own ratio a[i] / b[i], of the two arrays named:
# a slow spell of the shared disk hits a whole round, so this is the steadier
# figure beside the ratio of the medians.
median_of_ratios() {
  local -n numerators=$1 denominators=$2
  local i ratios=()
  for i in "${!numerators[@]}"; do
    ratios+=("$(awk -v a="${numerators[$i]}" -v b="${denominators[$i]}" 'BEGIN { print a / b }')")
  done
  median "${ratios[@]}"
}

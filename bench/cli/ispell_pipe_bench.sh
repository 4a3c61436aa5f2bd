#!/usr/bin/env bash
# Times the ispell pipe on 100,000 words of a shipped word list, as whole processes, beside
# `hunspell -l` on the same words when hunspell and its dictionary are installed.
#
#   bench/cli/ispell_pipe_bench.sh [BUILD_DIR] [LOCALE] [RUNS]     (defaults: build hi-IN 5)
#
# Prints the median wall and CPU seconds of each command over RUNS runs (after one warm-up).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
locale=${2:-hi-IN}
runs=${3:-5}
ispell=$build/bin/tarvellite-ispell
[ -x "$ispell" ] || { echo "no $ispell: build the target tarvellite-ispell first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -xJf "$root/data/dictionaries/wordlists/$locale.tar.xz" -C "$work"
# 100,000 words drawn from the list (with repeats when it is shorter), the same every time.
shuf -r -n 100000 --random-source=<(yes) "$work/$locale.txt" > "$work/words.txt"

# median of the numbers on standard input
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

measure() {
    local label=$1
    shift
    "$@" < "$work/words.txt" > /dev/null
    : > "$work/wall"
    : > "$work/cpu"
    for _ in $(seq "$runs"); do
        /usr/bin/time -f '%e %U %S' -o "$work/t" "$@" < "$work/words.txt" > /dev/null
        read -r wall user sys < "$work/t"
        echo "$wall" >> "$work/wall"
        awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f\n", u + s }' >> "$work/cpu"
    done
    printf '%-34s wall %6ss  cpu %6ss  (median of %d)\n' "$label" \
        "$(median < "$work/wall")" "$(median < "$work/cpu")" "$runs"
}

echo "100,000 words of $locale"
measure "tarvellite-ispell -a -d $locale" "$ispell" -a -d "$locale"
hunspell_dict=/usr/share/hunspell/${locale/-/_}
if command -v hunspell > /dev/null && [ -e "$hunspell_dict.dic" ]; then
    measure "hunspell -l -d ${locale/-/_}" hunspell -l -d "$hunspell_dict"
else
    echo "(hunspell or $hunspell_dict.dic not installed: no comparison)"
fi

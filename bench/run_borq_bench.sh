#!/usr/bin/env bash
# Speed benchmark of borq on large synthetic SHELX LIST 4 files.
#
# Builds the program and the generator with -DBORQ_BENCH=ON in build-bench,
# writes files of 10^5, 10^6 and 4x10^6 reflections in P 21 21 21 and P 3 2 1
# into a scratch folder, runs borq on each under /usr/bin/time -v and prints
# the wall time, the peak memory (maximum resident set size), the peak memory
# as a multiple of the reflection file's size, and reflections per second.
#
# Environment:
#   BORQ_BENCH_SIZES   reflection counts (default "100000 1000000 4000000")
#   BORQ_BENCH_GROUPS  groups (default "P212121 P321")
#   BORQ_BENCH_DIR     scratch folder (default: a new temporary folder,
#                      removed at the end unless BORQ_BENCH_KEEP=1)
#   BORQ_BENCH_CPU     run borq pinned to this core with taskset (default 0;
#                      empty: not pinned)
#   BORQ_BENCH_REPEAT  runs per file; the fastest is reported (default 3)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-bench"
sizes=${BORQ_BENCH_SIZES:-"100000 1000000 4000000"}
groups=${BORQ_BENCH_GROUPS:-"P212121 P321"}
cpu=${BORQ_BENCH_CPU-0}
repeats=${BORQ_BENCH_REPEAT:-3}

if [[ ! -x /usr/bin/time ]]; then
    echo "run_borq_bench.sh: /usr/bin/time is missing (apt-get install time)" >&2
    exit 1
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBORQ_BENCH=ON -DBORQ_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target borq bench_make_shelx_fcf >/dev/null

if [[ -n "${BORQ_BENCH_DIR:-}" ]]; then
    scratch=$BORQ_BENCH_DIR
    mkdir -p "$scratch"
else
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/borq_bench.XXXXXX")
    if [[ "${BORQ_BENCH_KEEP:-0}" != 1 ]]; then
        trap 'rm -rf "$scratch"' EXIT
    fi
fi
cd "$scratch"

pin=()
if [[ -n "$cpu" ]] && command -v taskset >/dev/null; then
    pin=(taskset -c "$cpu")
fi

echo "borq: $build/borq (Release)   scratch: $scratch   $(nproc) cores, $(uname -m)"
printf '%-8s %9s %10s %9s %10s %8s %8s %12s  %s\n' \
    group reflns "fcf MB" "wall s" "user+sys" "peak MB" "peak/fcf" "reflns/s" "x(Q) / x(D)"
for group in $groups; do
    for n in $sizes; do
        code="bench_${group}_${n}"
        "$build/bench/bench_make_shelx_fcf" "$n" "$group" "$code" >/dev/null
        # The best of several runs: the machine may be busy with other work.
        wall="" cpu_s="" peak_kb=""
        for ((round = 1; round <= repeats; round++)); do
            status=0
            "${pin[@]}" /usr/bin/time -v "$build/borq" "$code" >"$code.out" 2>"$code.time" </dev/null || status=$?
            if [[ $status -ne 0 ]]; then
                echo "$group $n: borq ended with status $status:" >&2
                grep -v '^\s' "$code.time" >&2 || true
                exit 1
            fi
            # "Elapsed (wall clock) time (h:mm:ss or m:ss): 0:01.23"
            this_wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {
                            n = split($2, t, ":"); s = 0
                            for (i = 1; i <= n; i++) s = s * 60 + t[i]
                            print s }' "$code.time")
            if [[ -z "$wall" ]] || awk -v a="$this_wall" -v b="$wall" 'BEGIN {exit !(a < b)}'; then
                wall=$this_wall
                cpu_s=$(awk -F': ' '/User time/ {u = $2} /System time/ {s = $2} END {print u + s}' "$code.time")
                peak_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$code.time")
            fi
        done
        fcf_bytes=$(stat -c %s "$code.fcf")
        flack=$(grep -o '=  *-\{0,1\}[0-9.()]*  <--- x([QD])' "$code.out" | sed 's/^= *//; s/  <--- x(.)//' |
                paste -sd/ - | sed 's#/# / #')
        awk -v g="$group" -v n="$n" -v b="$fcf_bytes" -v w="$wall" -v c="$cpu_s" -v p="$peak_kb" -v f="$flack" 'BEGIN {
            rate = (w > 0) ? sprintf("%12.0f", n / w) : sprintf("%12s", "> n/0.01")
            printf "%-8s %9d %10.1f %9.2f %10.2f %8.1f %8.2f %s  %s\n",
                   g, n, b / 1048576, w, c, p / 1024, p * 1024 / b, rate, f }'
        rm -f "$code.fcf" "$code.cif" Quotients.dat Differences.dat missing_A.dat
    done
done

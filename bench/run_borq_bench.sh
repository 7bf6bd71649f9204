#!/usr/bin/env bash
# Speed benchmark of borq on large synthetic SHELX LIST 4 files, side by side
# with an independent CIF parser that merely reads the same file.
#
# Builds the program and the generator with -DBORQ_BENCH=ON in build-bench,
# writes files of 10^5, 10^6 and 4x10^6 reflections in P 21 21 21 and P 3 2 1
# into a scratch folder, and runs borq on each under /usr/bin/time -v: wall
# time, peak memory (maximum resident set size), the peak as a multiple of the
# reflection file's size, and reflections per second.  When the peer (the
# Debian package python3-gemmi) can be imported, its parse of each file
# (gemmi.cif.read_file, then block.find over the six reflection columns) is
# timed in the same loop, the two commands alternating, and the medians and
# their ratio (borq / peer) are printed; otherwise borq alone, with a note
# that the peer is missing.  Not a test: nothing is asserted.
#
# Environment:
#   BORQ_BENCH_SIZES   reflection counts (default "100000 1000000 4000000")
#   BORQ_BENCH_GROUPS  groups (default "P212121 P321")
#   BORQ_BENCH_DIR     scratch folder (default: a new temporary folder,
#                      removed at the end unless BORQ_BENCH_KEEP=1)
#   BORQ_BENCH_CPU     run both commands pinned to these cores with taskset
#                      (default: not pinned; e.g. "0" or "0-3")
#   BORQ_BENCH_REPEAT  timed runs per command and file after one warm-up;
#                      the medians are reported (default 5)
#   BORQ_BENCH_PYTHON  the Python that imports the peer (default: python3,
#                      else /usr/bin/python3)
#   BORQ_BENCH_BUILD   build folder (default build-bench in the source tree)
#   BORQ_BENCH_JOBS    parallel build jobs (default: the number of cores)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BORQ_BENCH_BUILD:-"$root/build-bench"}
sizes=${BORQ_BENCH_SIZES:-"100000 1000000 4000000"}
groups=${BORQ_BENCH_GROUPS:-"P212121 P321"}
cpu=${BORQ_BENCH_CPU-}
repeats=${BORQ_BENCH_REPEAT:-5}

if [[ ! -x /usr/bin/time ]]; then
    echo "run_borq_bench.sh: /usr/bin/time is missing (apt-get install time)" >&2
    exit 1
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBORQ_BENCH=ON -DBORQ_TESTS=OFF >/dev/null
cmake --build "$build" -j"${BORQ_BENCH_JOBS:-$(nproc)}" --target borq bench_make_shelx_fcf >/dev/null

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

# The peer: a Python that imports gemmi, and its parse of one file.
python=""
for candidate in ${BORQ_BENCH_PYTHON:-python3 /usr/bin/python3}; do
    if command -v "$candidate" >/dev/null && "$candidate" -c "import gemmi" 2>/dev/null; then
        python=$candidate
        break
    fi
done
cat >peer_parse.py <<'PY'
import sys
import gemmi
block = gemmi.cif.read_file(sys.argv[1]).sole_block()
table = block.find('_refln_', ['index_h', 'index_k', 'index_l', 'F_squared_calc',
                               'F_squared_meas', 'F_squared_sigma'])
if len(table) == 0:
    sys.exit("no reflections found")
PY

# Runs a command under /usr/bin/time -v; prints "wall cpu peak_kb".
timed() {
    local log=$1
    shift
    local status=0
    "${pin[@]}" /usr/bin/time -v "$@" >"$log.out" 2>"$log.time" </dev/null || status=$?
    if [[ $status -ne 0 ]]; then
        echo "$*: ended with status $status:" >&2
        grep -v '^\s' "$log.time" >&2 || true
        exit 1
    fi
    # "Elapsed (wall clock) time (h:mm:ss or m:ss): 0:01.23"
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); w = 0
                                           for (i = 1; i <= n; i++) w = w * 60 + t[i] }
                /User time/ {u = $2} /System time/ {s = $2}
                /Maximum resident set size/ {p = $2}
                END {print w, u + s, p}' "$log.time"
}

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

echo "borq: $build/borq (Release)   scratch: $scratch   $(nproc) cores, $(uname -m)"
if [[ -n "$python" ]]; then
    echo "peer: gemmi $("$python" -c 'import gemmi; print(gemmi.__version__)') CIF parse ($python), alternating with borq;" \
         "medians of $repeats runs after one warm-up"
else
    echo "peer: missing (python3 -c \"import gemmi\" fails; apt-get install python3-gemmi); borq alone," \
         "medians of $repeats runs after one warm-up"
fi
printf '%-8s %9s %8s %8s %9s %8s %8s %11s %8s %8s %6s  %s\n' \
    group reflns "fcf MB" "wall s" "user+sys" "peak MB" "peak/fcf" "reflns/s" "peer s" "peer MB" ratio "x(Q) / x(D)"
for group in $groups; do
    for n in $sizes; do
        code="bench_${group}_${n}"
        "$build/bench/bench_make_shelx_fcf" "$n" "$group" "$code" >/dev/null
        : >borq.runs
        : >peer.runs
        for ((round = 0; round <= repeats; round++)); do
            this=$(timed borq "$build/borq" "$code")
            peer=""
            if [[ -n "$python" ]]; then peer=$(timed peer "$python" peer_parse.py "$code.fcf"); fi
            if ((round > 0)); then  # round 0 warms the page cache
                echo "$this" >>borq.runs
                if [[ -n "$peer" ]]; then echo "$peer" >>peer.runs; fi
            fi
        done
        wall=$(awk '{print $1}' borq.runs | median)
        cpu_s=$(awk '{print $2}' borq.runs | median)
        peak_kb=$(awk '{print $3}' borq.runs | median)
        peer_wall="-" peer_mb="-" ratio="-"
        if [[ -s peer.runs ]]; then
            peer_wall=$(awk '{print $1}' peer.runs | median)
            peer_mb=$(awk '{printf "%.1f\n", $3 / 1024}' peer.runs | median)
            ratio=$(awk -v a="$wall" -v b="$peer_wall" 'BEGIN {printf (b > 0) ? "%.2f" : "-", a / b}')
        fi
        fcf_bytes=$(stat -c %s "$code.fcf")
        flack=$(grep -o '=  *-\{0,1\}[0-9.()]*  <--- x([QD])' borq.out | sed 's/^= *//; s/  <--- x(.)//' |
                paste -sd/ - | sed 's#/# / #')
        awk -v g="$group" -v n="$n" -v b="$fcf_bytes" -v w="$wall" -v c="$cpu_s" -v p="$peak_kb" \
            -v pw="$peer_wall" -v pm="$peer_mb" -v r="$ratio" -v f="$flack" 'BEGIN {
            rate = (w > 0) ? sprintf("%11.0f", n / w) : sprintf("%11s", "> n/0.01")
            printf "%-8s %9d %8.1f %8.2f %9.2f %8.1f %8.2f %s %8s %8s %6s  %s\n",
                   g, n, b / 1048576, w, c, p / 1024, p * 1024 / b, rate, pw, pm, r, f }'
        rm -f "$code.fcf" "$code.cif" Quotients.dat Differences.dat missing_A.dat
    done
done

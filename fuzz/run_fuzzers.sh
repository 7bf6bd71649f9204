#!/usr/bin/env bash
# Runs every libFuzzer target for a bounded time, starting from the committed
# seed corpus, and fails on any finding (crash, sanitizer report, broken
# invariant, timeout, out of memory).
#
#   fuzz/run_fuzzers.sh <seconds-per-target> [target ...]
#
# Environment: BORQ_FUZZ_BUILD (build folder, default build-fuzz),
# BORQ_FUZZ_JOBS (build jobs, default 3), BORQ_FUZZ_SEED (random seed,
# default 1, so that a short run repeats what it tried before; set another
# for longer local runs).  Needs clang++ with libFuzzer
# (Debian: clang, libclang-rt-14-dev); without it the run is skipped.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(number_readers free_format operator_text set_spacegroup stored_record reflection_file space_group_source)
fi
build=${BORQ_FUZZ_BUILD:-build-fuzz}
jobs=${BORQ_FUZZ_JOBS:-3}

cxx=$(command -v clang++ || command -v clang++-14 || true)
if [ -z "$cxx" ]; then
  echo "fuzz: clang++ not found, fuzzing skipped"
  exit 0
fi
probe=$(mktemp -d)
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' > "$probe/p.cpp"
if ! "$cxx" -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
  rm -rf "$probe"
  echo "fuzz: $cxx cannot link libFuzzer (libclang-rt missing?), fuzzing skipped"
  exit 0
fi
rm -rf "$probe"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBORQ_FUZZ=ON -DBORQ_TESTS=OFF \
  -DCMAKE_CXX_COMPILER="$cxx" >/dev/null || exit 1
for t in "${targets[@]}"; do
  cmake --build "$build" -j"$jobs" --target "${t}_fuzz" || exit 1
done

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
for t in "${targets[@]}"; do
  work="$build/fuzz-run/$t"
  artifacts="$build/fuzz-artifacts/$t"
  mkdir -p "$work" "$artifacts"
  log="$build/fuzz-run/$t.log"
  echo "== fuzz $t for ${seconds}s =="
  # New inputs go to the working folder; the committed corpus is only read.
  "$build/fuzz/${t}_fuzz" "$work" "fuzz/corpus/$t" -max_total_time="$seconds" -seed="${BORQ_FUZZ_SEED:-1}" -max_len=65536 \
    -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1
  status=$?
  grep -E '^(stat::number_of_executed_units|#[0-9]+ +DONE)' "$log" | tail -n 2
  if [ $status -ne 0 ]; then
    echo "fuzz: $t FAILED (status $status); reproducer in $artifacts, log $log"
    grep -E 'invariant broken|ERROR: |runtime error|SUMMARY' "$log" | head -n 5
    failed+=("$t")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in: ${failed[*]}"
  exit 1
fi
echo "fuzz: all targets ran clean"

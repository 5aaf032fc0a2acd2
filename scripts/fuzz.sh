#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang 14 (AddressSanitizer and
# UndefinedBehaviorSanitizer, undefined behaviour aborting) in build-fuzz, and runs one target
# or all of them for SECONDS each, one after the other (or side by side, see below). Fails on
# the first crash, leak, undefined behaviour, broken property or hang, naming the input that
# did it.
#
#   scripts/fuzz.sh                  every target, 60 s each
#   scripts/fuzz.sh compiler 300     fuzz_compiler for five minutes
#   scripts/fuzz.sh all 20           every target, 20 s each
#   scripts/fuzz.sh --configure-only only configures build-fuzz (scripts/test.sh builds the
#                                    core's tests there too and runs them under the sanitizers)
#
# TONALVANE_FUZZ_JOBS=N runs up to N targets side by side, each on its own core for its whole
# SECONDS (1 by default; scripts/test.sh uses one per core).
#
# Targets start from the seeds in tests/fuzz/corpus/NAME, which are only read: what a run
# finds goes to build-fuzz/corpus/NAME, which later runs start from too (delete it to start
# afresh). An input that failed is kept in build-fuzz/artifacts/NAME/; run it again with
#   build-fuzz/tests/fuzz/fuzz_NAME FILE
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(scala compiler step_reader player keyboard_file recording placement midi_input)

usage() {
  echo "usage: scripts/fuzz.sh [NAME|all] [SECONDS]" >&2
  echo "NAME is one of: ${targets[*]}" >&2
  exit 2
}

configure_only=0
if [ "${1:-}" = --configure-only ]; then
  configure_only=1
  shift
fi
name=all
seconds=60
if [ $# -gt 0 ] && [[ ! "$1" =~ ^[0-9]+$ ]]; then
  name=$1
  shift
fi
if [ $# -gt 0 ]; then
  [[ "$1" =~ ^[1-9][0-9]*$ ]] || usage
  seconds=$1
  shift
fi
[ $# -eq 0 ] || usage

if [ "$name" = all ]; then
  chosen=("${targets[@]}")
else
  found=0
  for t in "${targets[@]}"; do
    [ "$t" = "$name" ] && found=1
  done
  [ $found -eq 1 ] || usage
  chosen=("$name")
fi

scripts/install-deps.sh
for tool in clang-14 clang++-14; do
  command -v "$tool" >/dev/null || {
    echo "fuzz: $tool is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
  }
done

build=build-fuzz
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Line tables are all the debug information a sanitizer's or libFuzzer's stack needs.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONALVANE_WERROR=ON \
  -DTONALVANE_CORE_ONLY=ON -DTONALVANE_FUZZ=ON \
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -gline-tables-only -DNDEBUG" \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -gline-tables-only -DNDEBUG" \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" >/dev/null
[ $configure_only -eq 0 ] || exit 0
build_targets=()
for t in "${chosen[@]}"; do
  build_targets+=("fuzz_$t")
done
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target "${build_targets[@]}"

# Undefined behaviour aborts already (-fno-sanitize-recover); the stack says where.
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"

jobs=${TONALVANE_FUZZ_JOBS:-1}
[[ "$jobs" =~ ^[1-9][0-9]*$ ]] || {
  echo "fuzz: TONALVANE_FUZZ_JOBS must be a positive number" >&2
  exit 2
}

# Fuzzes one target; its output goes to its log only, so targets running side by side do not
# mix their lines.
fuzz_one() {
  local t=$1
  local corpus="$build/corpus/$t" artifacts="$build/artifacts/$t" log="$build/logs/$t.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix="$artifacts/")
  [ -f "tests/fuzz/$t.dict" ] && options+=(-dict="tests/fuzz/$t.dict")
  # New inputs go to the first folder only; the seeds are read.
  "$build/tests/fuzz/fuzz_$t" "${options[@]}" "$corpus" "tests/fuzz/corpus/$t" >"$log" 2>&1
}

# Says how a finished target did; returns its status.
report() {
  local t=$1 status=$2
  local log="$build/logs/$t.log"
  if [ "$status" -ne 0 ]; then
    echo "fuzz: $t FAILED; the end of its log:" >&2
    tail -n 60 "$log" >&2
    echo "fuzz: the failing input is in $build/artifacts/$t/" >&2
    return 1
  fi
  grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$log" | tail -n 2 | sed "s/^/fuzz: $t: /"
}

failed=0
declare -A running=()
for t in "${chosen[@]}"; do
  echo "fuzz: $t for ${seconds} s (log: $build/logs/$t.log)"
  fuzz_one "$t" &
  running[$!]=$t
  # At most $jobs at a time: wait for one to finish before starting the next.
  while [ ${#running[@]} -ge "$jobs" ]; do
    status=0
    wait -n -p done_pid "${!running[@]}" || status=$?
    report "${running[$done_pid]}" "$status" || failed=1
    unset "running[$done_pid]"
  done
  [ $failed -eq 0 ] || break
done
while [ ${#running[@]} -gt 0 ]; do
  status=0
  wait -n -p done_pid "${!running[@]}" || status=$?
  report "${running[$done_pid]}" "$status" || failed=1
  unset "running[$done_pid]"
done
[ $failed -eq 0 ] || exit 1
echo "fuzz: no target failed (${chosen[*]}; ${seconds} s each)"

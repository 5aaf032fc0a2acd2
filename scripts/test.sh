#!/usr/bin/env bash
# Installs what is missing, checks the layers and the formatting, builds everything
# (optimised, warnings as errors) and runs every test; then builds the core with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer, once for its tests and the fuzz targets,
# runs those tests and every committed fuzz input, runs the tests of the threaded code under
# ThreadSanitizer, and fuzzes each target for a short while (TONALVANE_FUZZ_SECONDS, 5 by
# default, one target per core; scripts/fuzz.sh fuzzes for longer). Each section says how
# long it took.
#
# Under TONALVANE_STRICT_TESTS=1 (set by .ci/run) a test whose tool or resource is missing
# fails instead of skipping.
set -euo pipefail
cd "$(dirname "$0")/.."

section_start=$SECONDS
section() {
  local now=$SECONDS
  if [ -n "${section_name:-}" ]; then
    echo "test.sh: $section_name took $((now - section_start)) s"
  fi
  section_name=$1
  section_start=$now
  echo "test.sh: == $section_name"
}

section "installing what is missing"
scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

section "layers and formatting"
scripts/check-layers.sh
scripts/check-include-pairs.sh
scripts/check-format.sh

section "build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONALVANE_WERROR=ON \
  "${launcher[@]}" >/dev/null
cmake --build build -j "$jobs"

section "every test"
ctest --test-dir build --output-on-failure -j "$jobs"

section "sanitizer build: the core alone with clang, its tests and the fuzz targets"
# One tree for both, as scripts/fuzz.sh configures it: no Qt, RtMidi or RtAudio is looked for
# or linked, every library carries AddressSanitizer, UndefinedBehaviorSanitizer (undefined
# behaviour aborts like a crash) and libFuzzer's coverage.
scripts/fuzz.sh --configure-only
cmake --build build-fuzz -j "$jobs"

section "core tests and every committed fuzz input under the sanitizers"
ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir build-fuzz --output-on-failure -j "$jobs"

section "threaded code under ThreadSanitizer"
# Only the tests that run threads, without Qt: the script players and their clock, and the
# built-in synthesizer's message queue and output service.
# Line tables and function names (-g1) are all the debug information its reports need.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONALVANE_WERROR=ON \
  -DTONALVANE_UI=OFF -DTONALVANE_BENCH=OFF "${launcher[@]}" \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build-tsan -j "$jobs" --target test_player test_synth test_platform_midi
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
build-tsan/tests/core/script/test_player --gtest_brief=1 \
  --gtest_filter='ScriptPlayers*:SteadyPlayerClock*'
build-tsan/tests/core/synth/test_synth --gtest_brief=1 --gtest_filter='SynthMessageQueue*'
# Not through a real JACK audio device: JACK's libraries are not built for ThreadSanitizer,
# which would report their own threads.
build-tsan/tests/platform/midi/test_platform_midi --gtest_brief=1 \
  --gtest_filter='BuiltinSynthService*:-*TheAudioOutput*'
unset TSAN_OPTIONS

seconds=${TONALVANE_FUZZ_SECONDS:-5}
section "fuzz targets, $seconds s each"
# One target per core at a time, each for its whole time.
TONALVANE_FUZZ_JOBS=$jobs scripts/fuzz.sh all "$seconds"

section "done"
echo "test.sh: every test passed (the sanitizers and the fuzz targets included)"

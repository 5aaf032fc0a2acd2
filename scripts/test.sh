#!/usr/bin/env bash
# Installs what is missing, checks the layers and the formatting, builds everything
# (optimised, warnings as errors) and runs every test; then proves that the core builds and
# tests with nothing but a compiler, CMake and GoogleTest, runs every core test under
# AddressSanitizer and UndefinedBehaviorSanitizer, the threaded code under ThreadSanitizer,
# and each fuzz target for a short while. Each section says how long it took.
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

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

section "layers and formatting"
scripts/check-layers.sh
scripts/check-format.sh

section "build and every test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONALVANE_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

section "the core alone"
# The core alone: no Qt, RtMidi or RtAudio is looked for or linked.
cmake -S . -B build-core -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONALVANE_WERROR=ON \
  -DTONALVANE_CORE_ONLY=ON >/dev/null
cmake --build build-core -j "$jobs"
ctest --test-dir build-core --output-on-failure -j "$jobs"

section "core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# Every test program of the core alone, built with clang; undefined behaviour aborts like a
# crash instead of printing and going on.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONALVANE_WERROR=ON \
  -DTONALVANE_CORE_ONLY=ON -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

section "threaded code under ThreadSanitizer"
# The code that several threads share, without Qt: script players, the built-in
# synthesizer's engine, message queue and output service, and the MIDI output with its chord
# queue and device list.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONALVANE_WERROR=ON \
  -DTONALVANE_UI=OFF -DTONALVANE_BENCH=OFF \
  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build-tsan -j "$jobs" --target test_player test_synth test_midi test_platform_midi
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
ctest --test-dir build-tsan --output-on-failure -j "$jobs" -R '^test_(player|synth|midi)$'
# The run through a real JACK audio device is left out: JACK's libraries are not built for
# ThreadSanitizer, which would report their own threads.
build-tsan/tests/platform/midi/test_platform_midi --gtest_brief=1 \
  --gtest_filter='SynthMessageQueue*:BuiltinSynthService*:MidiDeviceList*'
unset TSAN_OPTIONS

section "fuzz targets, 20 s each"
scripts/fuzz.sh all 20

section "done"
echo "test.sh: every test passed (the core alone, the sanitizers and the fuzz targets included)"

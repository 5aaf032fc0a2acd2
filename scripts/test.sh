#!/usr/bin/env bash
# Installs what is missing, checks the layers and the formatting, builds everything
# (optimised, warnings as errors) and runs every test; then proves that the core builds and
# tests with nothing but a compiler, CMake and GoogleTest, and runs the threaded code under
# ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

scripts/check-layers.sh
scripts/check-format.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONALVANE_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# The core alone: no Qt, RtMidi or RtAudio is looked for or linked.
cmake -S . -B build-core -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONALVANE_WERROR=ON \
  -DTONALVANE_CORE_ONLY=ON >/dev/null
cmake --build build-core -j "$jobs"
ctest --test-dir build-core --output-on-failure -j "$jobs"

# ThreadSanitizer: the code that several threads share (script players, the built-in
# synthesizer's message queue and output service), without Qt.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONALVANE_WERROR=ON \
  -DTONALVANE_UI=OFF -DTONALVANE_BENCH=OFF \
  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build-tsan -j "$jobs" --target test_player test_platform_midi
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
ctest --test-dir build-tsan --output-on-failure -R '^test_player$'
build-tsan/tests/platform/midi/test_platform_midi --gtest_brief=1 \
  --gtest_filter='SynthMessageQueue*:BuiltinSynthService*'
echo "test.sh: every test passed (the core alone and ThreadSanitizer included)"

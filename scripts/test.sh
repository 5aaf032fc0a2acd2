#!/usr/bin/env bash
# Installs what is missing, builds everything (optimised, warnings as errors) and runs every
# test; then builds the threaded player tests with ThreadSanitizer and runs them too.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONALVANE_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# ThreadSanitizer: the code that several threads share (script players, the built-in
# synthesizer's message queue and output service), without Qt.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONALVANE_WERROR=ON \
  -DTONALVANE_UI=OFF -DTONALVANE_BENCH=OFF \
  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build-tsan -j "$jobs" --target test_player test_synth
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
ctest --test-dir build-tsan --output-on-failure -R '^test_player$'
build-tsan/tests/synth/test_synth --gtest_brief=1 \
  --gtest_filter='SynthMessageQueue*:BuiltinSynthService*'
echo "test.sh: every test passed (ThreadSanitizer included)"

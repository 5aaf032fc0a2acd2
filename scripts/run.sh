#!/usr/bin/env bash
# Installs what is missing, builds Tonalvane (optimised) into build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target tonalvane tonalvane-cli

if [ "$(uname -s)" = "Linux" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] \
   && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Tonalvane is built, but there is no display to open its window on"
  echo "(neither DISPLAY nor WAYLAND_DISPLAY is set)."
  echo "Run it from a desktop session, or try it under a virtual display:"
  echo "  xvfb-run -a build/tonalvane"
  exit 1
fi
exec build/tonalvane "$@"

#!/usr/bin/env bash
# Builds the Debian package of Tonalvane into build-package/ (a Release build of the programs
# only) and prints its name. Its dependencies are computed by dpkg-shlibdeps from the libraries
# the programs link.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
else
  launcher=()
fi
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONALVANE_BENCH=OFF \
  "${launcher[@]}" >/dev/null
cmake --build build-package --target tonalvane tonalvane-cli
(cd build-package && cpack -G DEB >/dev/null)
ls -1 build-package/*.deb

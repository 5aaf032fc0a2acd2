#!/usr/bin/env bash
# Builds the Debian package from the build, unpacks it into a temporary root with dpkg -x and
# runs the programs from there: tonalvane-cli answers --help and works, and tonalvane starts
# and keeps running. The package's dependencies must have been computed. Exits 77 (skipped)
# only when a packaging tool is missing, and fails then under TONALVANE_STRICT_TESTS.
set -euo pipefail
build=$1

for tool in cpack dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    # Under TONALVANE_STRICT_TESTS (the CI run) a missing tool fails instead of skipping.
    if [ -n "${TONALVANE_STRICT_TESTS:-}" ] && [ "$TONALVANE_STRICT_TESTS" != 0 ]; then
      echo "FAIL: $tool is missing (scripts/install-deps.sh installs dpkg-dev)"
      exit 1
    fi
    echo "SKIP: $tool is missing (scripts/install-deps.sh installs dpkg-dev)"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"
  exit 1
}
deb=$(ls "$work"/out/*.deb)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ "$(dpkg-deb -f "$deb" Package)" = tonalvane ] || fail "the package is not named tonalvane"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6widgets6 librtmidi libstdc++6; do
  grep -q "$library" <<<"$depends" || fail "no dependency on $library: $depends"
done

root=$work/root
dpkg -x "$deb" "$root"
cli=$root/usr/bin/tonalvane-cli
help=$("$cli" --help) || fail "tonalvane-cli --help failed"
[ "$(head -1 <<<"$help")" = "tonalvane-cli: the command-line companion of Tonalvane, a just-intonation tool." ] ||
  fail "unexpected help: $(head -1 <<<"$help")"
[ "$("$cli" analyse 3/2 | cut -f1,2,8)" = "$(printf '3/2\t701.955001\t8272')" ] ||
  fail "analyse 3/2 gave $("$cli" analyse 3/2)"
[ -f "$root/usr/share/applications/tonalvane.desktop" ] || fail "no desktop entry in the package"

# The program starts from the package and is still running a moment later.
QT_QPA_PLATFORM=offscreen TONALVANE_MIDI_OUT=none XDG_CONFIG_HOME=$work/config \
  XDG_CACHE_HOME=$work/cache "$root/usr/bin/tonalvane" >"$work/run.log" 2>&1 &
pid=$!
sleep 2
if kill -0 "$pid" 2>/dev/null; then
  kill "$pid"
  wait "$pid" 2>/dev/null || true
else
  wait "$pid" || true
  fail "tonalvane ended at once: $(cat "$work/run.log")"
fi

[ $failures -eq 0 ] && echo "package $(basename "$deb"): depends on $depends"
exit $((failures > 0))

#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tonalvane needs.
# Safe to run again: when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  # build, and the formatting that scripts/test.sh checks
  build-essential cmake ninja-build pkg-config clang-format-14
  # the linker (CMakeLists.txt uses lld when it is there)
  lld
  # the sanitizer builds and the libFuzzer targets (scripts/test.sh, scripts/fuzz.sh)
  clang-14 libclang-rt-14-dev
  # user interface: Qt 6 widgets, printing, the test library and the platform plugins
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libqt6test6 qt6-qpa-plugins libgl-dev
  # the picture exported as SVG
  qt6-svg-dev
  # MIDI output and the audio of the built-in synthesizer
  librtmidi-dev librtaudio-dev libasound2-dev libjack-jackd2-dev
  # real-time scheduling of the script players through rtkit on the system bus
  libdbus-1-dev
  # tests; mido reads back the MIDI files that tests write, as a reader independent of ours;
  # FluidSynth's library receives tuning messages and lets a test read its tuning tables;
  # a private message bus stands in for the system bus
  libgtest-dev libgmock-dev googletest jackd2 python3-mido libfluidsynth-dev dbus-daemon
  # fonts: a metric stand-in for Helvetica and a general sans-serif face; the widget tests
  # see only these two (tests/CMakeLists.txt)
  fonts-urw-base35 fonts-dejavu-core
  # a decimal-comma locale, to prove that numbers in files never follow the locale
  locales-all
  # running and looking at the program without a display; a window manager for the
  # screenshots of the user guide (scripts/screenshots.sh)
  xvfb xauth xdotool x11-apps imagemagick poppler-utils openbox
  # installing: the Debian package (dpkg-shlibdeps), the desktop file's check, the icons
  # drawn from their SVG (scripts/make-icons.sh), the MIME database and the man page's check
  dpkg-dev desktop-file-utils librsvg2-bin shared-mime-info groff-base
)

missing=()
if command -v dpkg-query >/dev/null 2>&1; then
  # One query for every package; a package dpkg never heard of is not listed at all.
  installed=" $(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${PACKAGES[@]}" 2>/dev/null |
    awk '$2 == "installed" { printf "%s ", $1 }')"
  for p in "${PACKAGES[@]}"; do
    [[ "$installed" == *" $p "* ]] || missing+=("$p")
  done
else
  missing=("${PACKAGES[@]}")
fi

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if ! command -v apt-get >/dev/null 2>&1; then
  echo "install-deps: this system has no apt-get, so the packages cannot be installed automatically." >&2
  echo "Install these (Debian names; use your system's equivalents) and run again:" >&2
  printf '  %s\n' "${PACKAGES[@]}" >&2
  exit 1
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
  else
    echo "install-deps: missing packages and neither root nor sudo: ${missing[*]}" >&2
    exit 1
  fi
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# jackd2 asks whether to enable real-time scheduling; answer no so the install never waits.
echo "jackd2 jackd/tweak_rt_limits boolean false" | $SUDO debconf-set-selections 2>/dev/null || true
$SUDO apt-get update -qq || true
# One command for everything: installing RtMidi and the JACK server in separate runs makes
# apt swap JACK libraries and remove the RtMidi headers.
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${PACKAGES[@]}"

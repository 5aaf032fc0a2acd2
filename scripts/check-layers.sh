#!/usr/bin/env bash
# Checks that includes run one way between the source folders: each folder may include only
# itself and the folders its row below names. CMake accepts cycles between static libraries,
# so this table is what keeps the layers honest. Prints every offending file and line, and
# fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

core="core/pitch core/midi core/lattice core/tuning core/script core/synth core/keyboard"
platform="platform/midi platform/qt"
windows="ui/common ui/lattice ui/table ui/keyboard ui/editor ui/help"

allowed() {
  case "$1" in
    core/pitch)    echo "" ;;
    core/midi)     echo "core/pitch" ;;
    core/lattice)  echo "core/pitch" ;;
    core/tuning)   echo "core/pitch core/midi core/lattice" ;;
    core/script)   echo "core/pitch core/midi core/tuning" ;;
    core/synth)    echo "core/pitch core/midi core/script" ;;
    core/keyboard) echo "core/pitch core/midi core/tuning core/script" ;;
    platform/midi) echo "$core" ;;
    platform/qt)   echo "$core" ;;
    ui/common)     echo "$core $platform" ;;
    ui/table)      echo "$core $platform ui/common" ;;
    ui/editor)     echo "$core $platform ui/common" ;;
    ui/help)       echo "$core $platform ui/common" ;;
    # A window includes the windows it owns: a lattice window its tables, a keyboard window
    # its script editors.
    ui/lattice)    echo "$core $platform ui/common ui/table" ;;
    ui/keyboard)   echo "$core $platform ui/common ui/editor" ;;
    app)           echo "$core $platform $windows app" ;;
    cli)           echo "$core platform/midi" ;;
    *)             echo "*" ;;
  esac
}

# The folder a path belongs to: two levels under core/, platform/ and ui/, one elsewhere.
folder_of() {
  case "$1" in
    core/*/*|platform/*/*|ui/*/*) echo "$1" | cut -d/ -f1-2 ;;
    */*) echo "$1" | cut -d/ -f1 ;;
    *) echo "" ;;
  esac
}

failures=0
while IFS= read -r file; do
  from=$(folder_of "$file")
  rules=$(allowed "$from")
  [ "$rules" = "*" ] && continue
  while IFS=: read -r line text; do
    target=$(printf '%s\n' "$text" | sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/')
    to=$(folder_of "$target")
    # Includes without a folder name a file beside this one.
    [ -z "$to" ] && continue
    [ "$to" = "$from" ] && continue
    ok=0
    for rule in $rules; do
      [ "$rule" = "$to" ] && ok=1
    done
    if [ $ok -eq 0 ]; then
      echo "$file:$line: includes \"$target\", but $from may include only: ${rules:-nothing}"
      failures=$((failures + 1))
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
  # The core is standard C++: no toolkit and no device library.
  case "$from" in
    core/*)
      while IFS=: read -r line text; do
        echo "$file:$line: the core includes no Qt, RtMidi or RtAudio header: $text"
        failures=$((failures + 1))
      done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(Q[A-Za-z]*|Rt(Midi|Audio)\.h)' "$file" || true)
      ;;
  esac
done < <(git ls-files -- 'core/*' 'platform/*' 'ui/*' 'app/*' 'cli/*' | grep -E '\.(h|cpp)$')

if [ $failures -gt 0 ]; then
  echo "check-layers: $failures include(s) run against the layers" >&2
  exit 1
fi
echo "check-layers: every include runs one way"

#!/usr/bin/env bash
# Checks that includes run one way between the source folders: each folder may include only
# itself and the folders its row below names. CMake accepts cycles between static libraries,
# so this table is what keeps the layers honest. Prints every offending file and line, and
# fails when there is one. Every include of every file is read in one pass.
set -euo pipefail
cd "$(dirname "$0")/.."

git grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' \
  -- 'core/*.h' 'core/*.cpp' 'platform/*.h' 'platform/*.cpp' 'ui/*.h' 'ui/*.cpp' \
     'app/*.h' 'app/*.cpp' 'cli/*.h' 'cli/*.cpp' |
awk '
BEGIN {
  core = "core/pitch core/midi core/lattice core/tuning core/script core/synth core/keyboard"
  platform = "platform/midi platform/qt"
  windows = "ui/common ui/lattice ui/table ui/keyboard ui/editor ui/help"
  allowed["core/pitch"] = ""
  allowed["core/midi"] = "core/pitch"
  allowed["core/lattice"] = "core/pitch"
  allowed["core/tuning"] = "core/pitch core/midi core/lattice"
  allowed["core/script"] = "core/pitch core/midi core/tuning"
  allowed["core/synth"] = "core/pitch core/midi core/script"
  allowed["core/keyboard"] = "core/pitch core/midi core/tuning core/script"
  allowed["platform/midi"] = core
  allowed["platform/qt"] = core
  allowed["ui/common"] = core " " platform
  allowed["ui/table"] = core " " platform " ui/common"
  allowed["ui/editor"] = core " " platform " ui/common"
  allowed["ui/help"] = core " " platform " ui/common"
  # A window includes the windows it owns: a lattice window its tables, a keyboard window
  # its script editors.
  allowed["ui/lattice"] = core " " platform " ui/common ui/table"
  allowed["ui/keyboard"] = core " " platform " ui/common ui/editor"
  allowed["app"] = core " " platform " " windows " app"
  allowed["cli"] = core " platform/midi"
  failures = 0
}
# The folder a path belongs to: two levels under core/, platform/ and ui/, one elsewhere.
function folder(path,   parts, n) {
  n = split(path, parts, "/")
  if (n >= 3 && (parts[1] == "core" || parts[1] == "platform" || parts[1] == "ui"))
    return parts[1] "/" parts[2]
  if (n >= 2)
    return parts[1]
  return ""
}
function permits(rules, to,   list, n, i) {
  n = split(rules, list, " ")
  for (i = 1; i <= n; i++)
    if (list[i] == to)
      return 1
  return 0
}
{
  # FILE:LINE:TEXT
  file = $0; sub(/:.*/, "", file)
  rest = substr($0, length(file) + 2)
  line = rest; sub(/:.*/, "", line)
  text = substr(rest, length(line) + 2)
  from = folder(file)
  if (!(from in allowed))
    next
  # The core is standard C++: no toolkit and no device library.
  if (from ~ /^core\// && text ~ /^[[:space:]]*#[[:space:]]*include[[:space:]]*<(Q[A-Za-z]*|Rt(Midi|Audio)\.h)/) {
    print file ":" line ": the core includes no Qt, RtMidi or RtAudio header: " text
    failures++
  }
  if (text !~ /^[[:space:]]*#[[:space:]]*include[[:space:]]*"/)
    next
  target = text
  sub(/^[^"]*"/, "", target)
  sub(/".*/, "", target)
  to = folder(target)
  # Includes without a folder name a file beside this one.
  if (to == "" || to == from || permits(allowed[from], to))
    next
  rules = allowed[from] == "" ? "nothing" : allowed[from]
  print file ":" line ": includes \"" target "\", but " from " may include only: " rules
  failures++
}
END {
  if (failures > 0) {
    print "check-layers: " failures " include(s) run against the layers" > "/dev/stderr"
    exit 1
  }
  print "check-layers: every include runs one way"
}'

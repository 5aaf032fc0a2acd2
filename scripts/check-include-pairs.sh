#!/usr/bin/env bash
# Checks that no two files of one folder include each other: when A.cpp or A.h includes B.h
# of its own folder, neither B.cpp nor B.h may include A.h. Such a pair is one piece of code
# split in two; the fix is an interface that one side owns. Prints every pair and fails when
# there is one. One pass over the includes that git knows of.
set -euo pipefail
cd "$(dirname "$0")/.."

git grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
  -- 'core/*.h' 'core/*.cpp' 'platform/*.h' 'platform/*.cpp' 'ui/*.h' 'ui/*.cpp' \
     'app/*.h' 'app/*.cpp' 'cli/*.h' 'cli/*.cpp' 'bench/*.h' 'bench/*.cpp' \
     'tests/*.h' 'tests/*.cpp' |
awk '
function dirname(path,   d) { d = path; if (sub(/\/[^\/]*$/, "", d) == 0) return "."; return d }
function unit(path,   u) { u = path; sub(/\.[^.\/]*$/, "", u); return u }
{
  # FILE:LINE:TEXT
  file = $0; sub(/:.*/, "", file)
  target = $0; sub(/^[^"]*"/, "", target); sub(/".*/, "", target)
  dir = dirname(file)
  # Includes without a folder name a file beside this one.
  if (target !~ /\//) target = dir "/" target
  if (dirname(target) != dir) next
  from = unit(file); to = unit(target)
  if (from != to) seen[from " " to] = 1
}
END {
  count = 0
  for (e in seen) {
    split(e, p, " ")
    if (p[1] < p[2] && ((p[2] " " p[1]) in seen)) {
      print p[1] " <-> " p[2]
      count++
    }
  }
  if (count > 0) {
    print "check-include-pairs: " count " pair(s) of files include each other" > "/dev/stderr"
    exit 1
  }
  print "check-include-pairs: no two files of one folder include each other"
}'

#!/usr/bin/env bash
# Checks that no two files of one folder include each other: when A.cpp or A.h includes B.h
# of its own folder, neither B.cpp nor B.h may include A.h. Such a pair is one piece of code
# split in two; the fix is an interface that one side owns. Prints every pair and fails when
# there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# One line "folder/A folder/B" for each include of a header of the same folder, A != B.
edges=$(git ls-files -- 'core/*' 'platform/*' 'ui/*' 'app/*' 'cli/*' 'bench/*' 'tests/*' |
  grep -E '\.(h|cpp)$' |
  while IFS= read -r file; do
    [ -f "$file" ] || continue
    dir=$(dirname "$file")
    unit="$dir/$(basename "${file%.*}")"
    grep -hE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
      sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' |
      while IFS= read -r target; do
        # Includes without a folder name a file beside this one.
        case "$target" in */*) ;; *) target="$dir/$target" ;; esac
        [ "$(dirname "$target")" = "$dir" ] || continue
        other="$dir/$(basename "${target%.*}")"
        [ "$other" = "$unit" ] || echo "$unit $other"
      done
  done | sort -u)

pairs=$(printf '%s\n' "$edges" | awk 'NF == 2 {
    seen[$1 " " $2] = 1
  } END {
    for (e in seen) {
      split(e, p, " ")
      if (p[1] < p[2] && ((p[2] " " p[1]) in seen))
        print p[1] " <-> " p[2]
    }
  }' | sort)

if [ -n "$pairs" ]; then
  printf '%s\n' "$pairs"
  echo "check-include-pairs: $(printf '%s\n' "$pairs" | wc -l) pair(s) of files include each other" >&2
  exit 1
fi
echo "check-include-pairs: no two files of one folder include each other"

#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the project is not formatted as .clang-format
# says. clang-format 14 from the Debian packages; `clang-format -i FILE` mends a file. One
# clang-format run looks at every file.
set -euo pipefail
cd "$(dirname "$0")/.."

format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$format" ]; then
  echo "check-format: clang-format is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
if ! report=$(git ls-files -z -- '*.cpp' '*.h' | xargs -0 "$format" --dry-run --Werror 2>&1); then
  # Each complaint starts "FILE:LINE:COLUMN: error:".
  files=$(printf '%s\n' "$report" | sed -nE 's/^([^:]+):[0-9]+:[0-9]+: error:.*/  \1/p' | sort -u)
  if [ -z "$files" ]; then
    echo "check-format: clang-format failed:" >&2
    printf '%s\n' "$report" | head -n 20 >&2
  else
    echo "check-format: not formatted (run: $format -i FILE):" >&2
    printf '%s\n' "$files" >&2
  fi
  exit 1
fi
echo "check-format: every C++ file is formatted"

#!/usr/bin/env bash
# The .clang-format layout on the C++ files a commit touches: those changed
# since REV (default: the last commit's parent), and those changed and not
# yet committed. Lists each file laid out otherwise and fails; an empty list
# passes.
#   scripts/check-format.sh [REV]
set -uo pipefail
cd "$(dirname "$0")/.."
base=${1:-HEAD~1}
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 1; }
mapfile -t files < <({ git diff --name-only --diff-filter=d "$base" -- ; git ls-files --others --exclude-standard; } |
                     grep -E '\.(cpp|h)$' | sort -u)
bad=0
for f in "${files[@]}"; do
  [[ -f "$f" ]] || continue
  if ! clang-format --dry-run -Werror "$f" >/dev/null 2>&1; then
    echo "not in the .clang-format layout: $f (clang-format -i $f)"
    bad=$((bad + 1))
  fi
done
echo "layout: ${#files[@]} files checked, $bad not laid out"
((bad == 0))

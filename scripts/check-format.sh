#!/usr/bin/env bash
# Checks that the project's own C++ sources are laid out as .clang-format
# says; with --fix, rewrites them so. Fails listing each file that differs.
#
#   scripts/check-format.sh [--fix]
#
# Uses clang-format 14 (Debian 12's clang-format-14): other versions lay
# some constructs out differently.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

fix=0
case "${1:-}" in
--fix) fix=1 ;;
"") ;;
*) echo "usage: $0 [--fix]" >&2; exit 2 ;;
esac

tool=""
for candidate in clang-format-14 clang-format; do
    if command -v "$candidate" >/dev/null && "$candidate" --version | grep -q 'version 14\.'; then
        tool=$candidate
        break
    fi
done
[[ -n $tool ]] || { echo "$0: clang-format 14 is missing (scripts/install-deps.sh)" >&2; exit 2; }

# The project's sources: tracked files in a git checkout, else every source
# outside the build directories.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) \
        -print | sed 's#^\./##' | sort)
fi
# A tracked file deleted in the work tree is not there to check.
existing=()
for file in "${files[@]}"; do
    [[ -f $file ]] && existing+=("$file")
done
files=("${existing[@]}")
[[ ${#files[@]} -gt 0 ]] || { echo "$0: no sources found" >&2; exit 2; }

if [[ $fix -eq 1 ]]; then
    "$tool" -i -- "${files[@]}"
    exit 0
fi

# One clang-format for every file: it names each place that differs as
# "FILE:LINE:COLUMN: error: ...".
if report=$("$tool" --dry-run --Werror -- "${files[@]}" 2>&1 >/dev/null); then
    :
else
    mapfile -t differing < <(grep -o '^[^:]*:[0-9]*:[0-9]*: error' <<<"$report" | cut -d: -f1 | sort -u)
    echo "Not laid out as .clang-format says (make format rewrites them):" >&2
    if [[ ${#differing[@]} -gt 0 ]]; then
        printf '  %s\n' "${differing[@]}" >&2
    else
        echo "$report" >&2
    fi
    exit 1
fi
echo "${#files[@]} sources laid out as .clang-format says"

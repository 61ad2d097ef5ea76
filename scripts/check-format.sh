#!/usr/bin/env bash
# Checks that the project's own C++ sources are laid out as .clang-format
# says; with --fix, rewrites them so. Fails listing each file that differs.
#
#   scripts/check-format.sh [--fix]
#
# Uses clang-format 19 (clang-format-19, on Debian 12 and 13 alike): other
# versions lay some constructs out differently, so a check with another one
# would answer otherwise. Where version 19 is missing the check says so and
# exits 77, which the test runner counts as skipped, not passed.
set -euo pipefail

readonly kMajorVersion=19
readonly kSkipStatus=77

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

fix=0
case "${1:-}" in
--fix) fix=1 ;;
"") ;;
*) echo "usage: $0 [--fix]" >&2; exit 2 ;;
esac

tool=""
for candidate in "clang-format-$kMajorVersion" clang-format; do
    if command -v "$candidate" >/dev/null &&
        "$candidate" --version | grep -q "version $kMajorVersion\."; then
        tool=$candidate
        break
    fi
done
if [[ -z $tool ]]; then
    echo "$0: clang-format $kMajorVersion is missing (scripts/install-deps.sh installs" \
        "clang-format-$kMajorVersion); the source format is not checked: another version" \
        "lays some constructs out otherwise" >&2
    exit "$kSkipStatus"
fi

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

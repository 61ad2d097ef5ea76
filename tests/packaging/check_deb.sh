#!/usr/bin/env bash
# Builds the Debian package into a throw-away directory and checks it from the
# outside: its name, its control fields, and that it holds exactly the
# program's files (no tests, libraries or headers), with a stripped executable;
# and that lintian, where installed, reports no error.
#
# Usage: check_deb.sh BUILD_DIR APP_ID VERSION
set -euo pipefail

build=$1
app_id=$2
version=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log" >&2; exit 1; }

deb=$work/out/zentaro_${version}_$(dpkg --print-architecture).deb
if [[ ! -f $deb ]]; then
    echo "FAIL: no $(basename "$deb"); cpack made:" "$work"/out/*.deb >&2
    exit 1
fi

# --- control fields ------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == zentaro ]] || fail "Package is $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version is $(field Version)"
[[ $(field Section) == science ]] || fail "Section is $(field Section)"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
[[ -n $(field Description) ]] || fail "no Description"
depends=$(field Depends)
# The names stand alone in the list, with or without a version.
for package in libqt6widgets6 libqt6gui6 libqt6core6 libc6 fonts-liberation2 qt6-qpa-plugins; do
    grep -Eq "(^|, )$package( \(|,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# --- contents --------------------------------------------------------------------
# Every file (directories aside), exactly: nothing from tests, no static
# library, no header.
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
expected=$(
    {
        echo ./usr/bin/zentaro
        echo "./usr/share/applications/$app_id.desktop"
        echo "./usr/share/metainfo/$app_id.metainfo.xml"
        echo ./usr/share/man/man1/zentaro.1.gz
        echo ./usr/share/doc/zentaro/copyright
        echo ./usr/share/doc/zentaro/changelog.gz
        for size in 32 48 64 128 256; do
            echo "./usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
        done
    } | sort
)
[[ $actual == "$expected" ]] || fail "package contents differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"

dpkg-deb -x "$deb" "$work/root"
if [[ -f $work/root/usr/bin/zentaro ]]; then
    mode=$(stat -c %a "$work/root/usr/bin/zentaro")
    [[ $mode == 755 ]] || fail "usr/bin/zentaro has mode $mode"
    readelf -S "$work/root/usr/bin/zentaro" | grep -q '\.debug_info' \
        && fail "usr/bin/zentaro is not stripped"
fi

# --- Debian's own checker -------------------------------------------------------
# Errors fail; warnings and notes are printed for the reader. As root lintian
# wants --allow-root.
if command -v lintian >/dev/null; then
    lintian_args=(--no-cfg --fail-on error)
    [[ $(id -u) -eq 0 ]] && lintian_args+=(--allow-root)
    report=$(lintian "${lintian_args[@]}" "$deb" 2>&1) || fail "lintian: $report"
    [[ -z $report ]] || echo "lintian: $report"
else
    echo "lintian not installed: the package was not checked with it"
fi

if ((failures > 0)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "$(basename "$deb"): all checks passed"

#!/usr/bin/env bash
# Runs a command on a fresh copy of this checkout inside a Debian root of the
# given release, so that both releases the project supports can be tested on
# one machine:
#
#   scripts/in-debian.sh [--deps MODE] RELEASE -- COMMAND [ARGS...]
#
#   RELEASE      12 or bookworm, 13 or trixie
#   --deps MODE  what scripts/install-deps.sh installs in the root first,
#                with the network: test (the default: everything `make test`
#                needs), run (`make run`), desktops (`make desktops`), none
#   --reuse      run in the copy the last run left, with its build tree, after
#                bringing in the checkout's files that differ from it (only
#                those are touched, so a build there is incremental); the
#                root is neither updated nor given packages: for trying a
#                change inside the root step by step
#
# Example: scripts/in-debian.sh 13 -- make desktops
#
# The root is made once with debootstrap, from the Debian mirror this
# machine's apt already uses, and kept under /var/cache/zentaro/roots
# (ZENTARO_ROOTS overrides it); a root that is reused is brought up to date
# first. The checkout is copied afresh each run to /work/zentaro in the root:
# a clone of its commits, with the work tree's uncommitted changes on top.
# The command runs without the network (a network namespace of its own, so
# its X servers' abstract sockets cannot meet the machine's), in its own pid
# and mount namespaces, with a fresh /tmp. Its exit status is this script's.
#
# Needs root: through sudo otherwise. Installs debootstrap when missing.
set -euo pipefail

readonly kRootsDefault=/var/cache/zentaro/roots
readonly kInside=/work/zentaro

usage()
{
    echo "usage: $0 [--deps test|run|desktops|none] RELEASE -- COMMAND [ARGS...]" >&2
    echo "  RELEASE: 12 | bookworm | 13 | trixie" >&2
    exit 2
}

deps=test
reuse=0
while [[ $# -gt 0 && $1 == --* ]]; do
    case $1 in
    --deps)
        [[ $# -ge 2 && $2 =~ ^(test|run|desktops|none)$ ]] || usage
        deps=$2
        shift 2
        ;;
    --reuse)
        reuse=1
        shift
        ;;
    *) usage ;;
    esac
done
[[ $# -ge 3 && $2 == -- ]] || usage
case $1 in
12 | bookworm) release=bookworm ;;
13 | trixie) release=trixie ;;
*) usage ;;
esac
shift 2

if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "$0: needs root (or sudo)" >&2; exit 1; }
    reuse_args=()
    [[ $reuse -eq 0 ]] || reuse_args=(--reuse)
    exec sudo --preserve-env=ZENTARO_ROOTS,CI "$0" --deps "$deps" "${reuse_args[@]}" "$release" -- "$@"
fi

checkout=$(cd "$(dirname "$0")/.." && pwd)
roots=${ZENTARO_ROOTS:-$kRootsDefault}
root=$roots/$release
mkdir -p "$roots"

# ---- The machine's own Debian mirror ---------------------------------------------------
# The URI of the first apt source of the machine's own release (and of its
# security suite), from the deb822 .sources files or the one-line format.
host_codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
mirror_for_suite()
{
    local suite=$1 file
    # deb822: stanzas separated by blank lines.
    for file in /etc/apt/sources.list.d/*.sources; do
        [[ -f $file ]] || continue
        awk -v suite="$suite" '
            function flush() {
                if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") && uris != "")
                    { split(uris, u, " "); print u[1]; found = 1; exit }
                types = ""; suites = ""; uris = ""
            }
            /^[[:space:]]*#/ { next }
            /^[[:space:]]*$/ { flush(); next }
            tolower($1) == "types:"  { $1 = ""; types = $0 }
            tolower($1) == "suites:" { $1 = ""; suites = $0 }
            tolower($1) == "uris:"   { $1 = ""; uris = $0; sub(/^ +/, "", uris) }
            END { if (!found) flush() }
        ' "$file" | head -n 1
    done
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -f $file ]] || continue
        # deb [options] URI SUITE COMPONENTS...
        sed -E 's/\[[^]]*\]//' "$file" | awk -v suite="$suite" \
            '$1 == "deb" && $3 == suite { print $2; exit }'
    done
}
first_line() { head -n 1 | tr -d '[:space:]'; }
mirror=$(mirror_for_suite "$host_codename" | first_line)
security=$(mirror_for_suite "$host_codename-security" | first_line)
if [[ -z $mirror ]]; then
    echo "$0: no Debian mirror for '$host_codename' found in this machine's apt sources" >&2
    exit 1
fi

if ! command -v debootstrap >/dev/null; then
    echo "Installing debootstrap"
    DEBIAN_FRONTEND=noninteractive apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

# One user of a root at a time.
exec 9>"$root.lock"
flock 9

# The command inside the root: its own namespaces and mounts, which end with
# it. `network` 0 gives it a network namespace of its own.
in_root()
{
    local network=$1
    shift
    local namespaces=(--mount --pid --fork)
    [[ $network -eq 1 ]] || namespaces+=(--net)
    unshare "${namespaces[@]}" -- /bin/bash -s -- "$root" "$@" <<'INNER'
set -euo pipefail
root=$1
shift
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --rbind /dev "$root/dev"
mount -t tmpfs tmpfs "$root/tmp"
mount -t tmpfs tmpfs "$root/run"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
# Loopback up in a network namespace of its own (nothing needs more).
command -v ip >/dev/null && ip link set lo up 2>/dev/null || true
exec chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" "$@"
INNER
}

write_sources()
{
    {
        echo "Types: deb"
        echo "URIs: $mirror"
        echo "Suites: $release $release-updates"
        echo "Components: main"
        if [[ -n $security ]]; then
            echo
            echo "Types: deb"
            echo "URIs: $security"
            echo "Suites: $release-security"
            echo "Components: main"
        fi
    } >"$root/etc/apt/sources.list.d/debian.sources"
    rm -f "$root/etc/apt/sources.list"
}

# The checkout's files as the work tree has them, one NUL-terminated path
# each: tracked and untracked ones, less what .gitignore leaves out.
checkout_files()
{
    if git -C "$checkout" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        (cd "$checkout" && git ls-files --cached --others --exclude-standard -z |
            while IFS= read -r -d '' f; do [[ -e $f ]] && printf '%s\0' "$f"; done)
    else
        (cd "$checkout" && find . -path './build*' -prune -o -type f -printf '%P\0')
    fi
}

# Brings the checkout's files into the copy where they differ, and removes
# from it the files the checkout no longer has (the build trees aside).
sync_into_copy()
{
    local copy=$root$kInside f
    declare -A wanted=()
    while IFS= read -r -d '' f; do
        wanted[$f]=1
        if ! cmp -s "$checkout/$f" "$copy/$f"; then
            mkdir -p "$(dirname "$copy/$f")"
            cp -p "$checkout/$f" "$copy/$f"
            touch "$copy/$f"
        fi
    done < <(checkout_files)
    while IFS= read -r -d '' f; do
        [[ -n ${wanted[$f]:-} ]] || rm -f "$copy/$f"
    done < <(cd "$copy" && find . -path './build*' -prune -o -path './.git' -prune -o -type f -printf '%P\0')
}

readonly stamp=$root/.zentaro-root-complete
if [[ $reuse -eq 1 ]]; then
    [[ -f $stamp && -d $root$kInside ]] || { echo "$0: no earlier copy in $root to reuse" >&2; exit 1; }
    sync_into_copy
    echo "Running in Debian $release (no network), in the last run's copy: $*"
    in_root 0 /bin/sh -c 'cd "$0" && exec "$@"' "$kInside" "$@"
    exit $?
fi
if [[ ! -f $stamp ]]; then
    echo "Making a Debian $release root in $root from $mirror"
    rm -rf "$root"
    debootstrap --variant=minbase "$release" "$root" "$mirror" >"$roots/$release.debootstrap.log" 2>&1 || {
        tail -n 30 "$roots/$release.debootstrap.log" >&2
        exit 1
    }
    write_sources
    touch "$stamp"
fi
echo "Bringing the Debian $release root up to date"
write_sources
in_root 1 /bin/sh -c 'export DEBIAN_FRONTEND=noninteractive;
    apt-get update -qq && apt-get -y -qq dist-upgrade >/dev/null && apt-get -qq clean'

# ---- A fresh copy of the checkout ----------------------------------------------------
# The commits (a clone, when the checkout is a git one), then the work
# tree's files where they differ from them.
rm -rf "$root$kInside"
mkdir -p "$(dirname "$root$kInside")"
if git -C "$checkout" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git clone -q --no-local --no-hardlinks "$checkout" "$root$kInside"
else
    mkdir "$root$kInside"
fi
sync_into_copy

if [[ $deps != none ]]; then
    deps_args=()
    [[ $deps == test ]] || deps_args=("--$deps")
    echo "Installing what '$deps' needs in the Debian $release root"
    in_root 1 /bin/sh -c 'cd "$0" && scripts/install-deps.sh "$@"' "$kInside" "${deps_args[@]}"
fi

echo "Running in Debian $release (no network): $*"
set +e
in_root 0 /bin/sh -c 'cd "$0" && exec "$@"' "$kInside" "$@"
status=$?
set -e
exit "$status"

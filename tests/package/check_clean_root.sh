#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Olvi developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
#   check_clean_root.sh <folder holding olvi_*.deb> <cache folder> <a learner's profile.json>
#
# A stranger's first run: a minimal Debian 12 (debootstrap minbase) with the
# package installed by apt and nothing but its declared dependencies; the
# installed olvi started there as an ordinary user on a private X server, the
# learner's progress saved through Qt's own file dialog by keys only, and the
# file checked. What this machine has installed cannot stand in for a missing
# dependency. The minimal root and the downloaded packages are kept in the
# cache folder between runs; each run installs into a fresh copy of the root.
# Exits 77 (skipped, with the reason) without root or without the package
# registry.
set -euo pipefail
export LC_ALL=C.UTF-8

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
skip() {
    echo "SKIP: $*"
    exit 77
}

debs=("$1"/olvi_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one olvi_*.deb in $1"
deb=$(realpath "${debs[0]}")
cache=$(realpath -m "$2")
seed=$3
suite=bookworm

[ "$(id -u)" -eq 0 ] || skip "a clean root needs root (debootstrap, chroot and mounts)"
command -v debootstrap >/dev/null || fail "debootstrap is missing (scripts/setup installs it)"
# The archive this machine installs from (its apt sources), as CI's does.
mapfile -t sources < <(apt-get indextargets --format '$(SITE) $(RELEASE) $(COMPONENT)' \
    'Identifier: Packages' | sort -u | grep -E " $suite(-updates|-security)? main\$" || true)
mirror=${OLVI_DEBIAN_MIRROR:-$(printf '%s\n' "${sources[@]}" | awk -v s=$suite '$2 == s { print $1; exit }')}
[ -n "$mirror" ] || skip "this machine installs from no Debian $suite archive (set OLVI_DEBIAN_MIRROR)"
host=$(sed -E 's#^[a-z]+://([^/:]+).*#\1#' <<<"$mirror")
port=80
[[ $mirror == https://* ]] && port=443
timeout 10 bash -c "exec 3<>/dev/tcp/$host/$port" 2>/dev/null \
    || skip "the package registry $mirror cannot be reached"

tmp=$(mktemp -d)
base=$cache/base
work=$cache/work
olvi='' xvfb=''

mounts_under() { awk -v root="$1" '$5 == root || index($5, root "/") == 1 { print $5 }' /proc/self/mountinfo; }
# Unmounts whatever is mounted in the root, innermost first; the root is
# removed only when nothing is mounted there any more.
release_root() {
    local m
    for m in $(mounts_under "$work" | sort -r); do
        umount "$m" 2>/dev/null || umount -l "$m"
    done
    [ -z "$(mounts_under "$work")" ] || { echo "still mounted: $(mounts_under "$work")" >&2; return 1; }
    rm -rf "$work"
}
source "$(dirname "$0")/desk.sh"
cleanup() {
    local rc=$?
    set +e
    end_programs
    release_root || rc=1
    rm -rf "$tmp"
    exit $rc
}
trap cleanup EXIT

in_root() { chroot "$work" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }

# The minimal root, made once per archive and kept.
started=$SECONDS
if [ "$(cat "$base/.olvi-made-from" 2>/dev/null)" != "$mirror $suite" ]; then
    [ -z "$(mounts_under "$base.new")" ] || fail "something is mounted in $base.new"
    rm -rf "$base" "$base.new"
    mkdir -p "$cache"
    debootstrap --variant=minbase "$suite" "$base.new" "$mirror" >"$tmp/debootstrap.log" 2>&1 \
        || fail "debootstrap failed: $(tail -n 20 "$tmp/debootstrap.log")"
    # The same suites as this machine's, and dpkg without a sync after each file.
    printf 'deb %s\n' "${sources[@]}" >"$base.new/etc/apt/sources.list"
    echo force-unsafe-io >"$base.new/etc/dpkg/dpkg.cfg.d/olvi-unsafe-io"
    echo "$mirror $suite" >"$base.new/.olvi-made-from"
    mv "$base.new" "$base"
fi
made=$((SECONDS - started))

release_root
cp -a "$base" "$work"
cp /etc/resolv.conf "$work/etc/resolv.conf"
mkdir -p "$cache/archives/partial" "$work/tmp/.X11-unix"
mount -t proc proc "$work/proc"
mount --bind /dev "$work/dev"
mount --bind "$cache/archives" "$work/var/cache/apt/archives"

# Dependencies only, as a user would install it.
cp "$deb" "$work/tmp/olvi.deb"
started=$SECONDS
in_root chown -R _apt:root /var/cache/apt/archives/partial
in_root apt-get -qq update >"$tmp/apt.log" 2>&1 || fail "apt-get update failed: $(cat "$tmp/apt.log")"
in_root apt-get -y -qq --no-install-recommends install /tmp/olvi.deb >"$tmp/apt.log" 2>&1 \
    || fail "installing the package failed: $(tail -n 30 "$tmp/apt.log")"
installed=$((SECONDS - started))

# An ordinary user with progress in their home, and no Documents folder.
in_root useradd --create-home --uid 4242 --user-group learner
home=$work/home/learner
install -d -m 700 -o 4242 -g 4242 "$home/.local" "$home/.local/share" "$home/.local/share/Olvi" \
    "$work/tmp/run"
install -m 600 -o 4242 -g 4242 "$seed" "$home/.local/share/Olvi/profile.json"

start_xvfb
mount --bind /tmp/.X11-unix "$work/tmp/.X11-unix"
chroot --userspec=4242:4242 "$work" env -i PATH=/usr/bin:/bin HOME=/home/learner \
    XDG_RUNTIME_DIR=/tmp/run LANG=C.UTF-8 DISPLAY="$display" /usr/bin/olvi >"$tmp/olvi.log" 2>&1 &
olvi=$!
window=''
poll 30 painted "$olvi" "$tmp/olvi.log" || fail "no painted window titled Олви: $(cat "$tmp/olvi.log")"

save_from_progress "$olvi" 3 "$tmp/olvi.log" "$home/olvi-progress-*.json"
# QML speaks of a file it could not load by its address (and in Russian).
! grep -E '^(qrc|file):/' "$tmp/olvi.log" || fail "Qt could not load a part of the screens"
saved=$(compgen -G "$home/olvi-progress-*.json")
# The whole profile: every day of the learner's, and the document closed.
[ "$(grep -o '"date": "[^"]*"' "$saved")" = "$(grep -o '"date": "[^"]*"' "$seed")" ] \
    || fail "the saved file does not hold the learner's days: $(cat "$saved")"
[ "$(tail -n 1 "$saved")" = "}" ] || fail "the saved file is cut short: $(tail -c 200 "$saved")"
[ "$(stat -c %u "$saved")" = 4242 ] || fail "the saved file does not belong to the learner"
echo "installed on a clean Debian $suite root and saved progress through Qt's dialog" \
    "(root made in ${made} s, package installed in ${installed} s)"

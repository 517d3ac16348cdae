#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Olvi developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
#   check_install.sh <folder holding olvi_*.deb> <a learner's profile.json>
#
# Installs the package with apt as a user would, checks its launcher entry,
# starts the installed program on a private X server with a private home that
# holds the learner's profile and checks that it paints its window; then
# removes and purges the package and checks that none of its files is left
# and the home is as the program left it. The package is purged whatever
# happens. Exits 77 (skipped, with the reason) when it cannot install.
set -euo pipefail
export LC_ALL=C.UTF-8

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

debs=("$1"/olvi_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one olvi_*.deb in $1"
deb=$(realpath "${debs[0]}")
seed=$2

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! sudo -n true 2>/dev/null; then
        echo "SKIP: installing a package needs root or sudo without a password"
        exit 77
    fi
    sudo=(sudo -n)
fi
apt_get() { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive DEBCONF_NOWARNINGS=yes apt-get -y -qq "$@" >/dev/null; }
# dpkg, not apt: after a removal that left no configuration dpkg forgets the
# package and apt-get purge would not find it.
purge() { "${sudo[@]}" dpkg --purge olvi >/dev/null; }
status() { dpkg-query -W -f='${db:Status-Status}' olvi 2>/dev/null || true; }
if [ -n "$(status)" ] && [ "$(status)" != not-installed ]; then
    echo "SKIP: olvi is already installed here ($(status)), and this test would remove it"
    exit 77
fi

tmp=$(mktemp -d)
olvi='' xvfb=''
cleanup() {
    local rc=$? pid
    set +e
    for pid in $olvi $xvfb; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    if [ -n "$(status)" ] && [ "$(status)" != not-installed ]; then
        purge || rc=1
    fi
    rm -rf "$tmp"
    exit $rc
}
trap cleanup EXIT

# Polls a condition until it holds or the seconds given have passed.
poll() {
    local until=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt "$until" ] || return 1
        sleep 0.2
    done
}

# Dependencies only: the checks below are about what the package must pull in.
apt_get install --no-install-recommends "$deb"
mapfile -t owned < <(dpkg -L olvi | grep -vx '/\.')
[ -x /usr/bin/olvi ] || fail "/usr/bin/olvi is not installed"

entry=/usr/share/applications/org.olvi.Olvi.desktop
desktop-file-validate "$entry" || fail "the installed $entry is not valid"
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ "$(PATH=/usr/bin:/bin type -P "$exec")" = /usr/bin/olvi ] \
    || fail "the entry's Exec=$exec does not start /usr/bin/olvi"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon $icon in hicolor"

# A learner's home with progress in it, and nothing else from this machine.
home=$tmp/home
mkdir -p -m 700 "$home/.local/share/Olvi" "$tmp/run"
install -m 600 "$seed" "$home/.local/share/Olvi/profile.json"

Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
poll 15 test -s "$tmp/display" || fail "Xvfb gave no display: $(cat "$tmp/xvfb.log")"
display=:$(cat "$tmp/display")
env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$tmp/run" LANG=C.UTF-8 \
    DISPLAY="$display" /usr/bin/olvi >"$tmp/olvi.log" 2>&1 &
olvi=$!

# Mapped, and more than a few colours in it: text drawn, not a blank frame.
painted() {
    kill -0 "$olvi" 2>/dev/null || fail "olvi exited: $(cat "$tmp/olvi.log")"
    local size colours
    window=$(DISPLAY=$display xdotool search --onlyvisible --name '^Олви$' | head -n 1)
    [ -n "$window" ] || return 1
    size=$(xwininfo -display "$display" -id "$window" \
        | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w * h }')
    # The last width × height 32-bit words of the dump are the window's pixels.
    colours=$(xwd -silent -display "$display" -id "$window" | tail -c $((size * 4)) \
        | od -An -v -tx4 -w4 | sort -u | wc -l)
    [ "$colours" -ge 16 ]
}
window=''
poll 30 painted || fail "no painted window titled Олви: $(cat "$tmp/olvi.log")"

# Qt loads QML modules, plugins and its texts by name, out of the sight of
# dpkg-shlibdeps: every package it loaded one from must come with olvi's
# dependencies. The progress tab (Ctrl+4) loads the chart's module. Qt's
# texts are Russian in the C locale too.
DISPLAY=$display xdotool windowfocus --sync "$window" key ctrl+4
poll 15 grep -q /QtCharts/ "/proc/$olvi/maps" || fail "the progress tab loaded no chart"
grep -q '/qt6/translations/qtbase_ru\.qm$' "/proc/$olvi/maps" || fail "Qt's Russian texts not loaded"
needed=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances olvi | grep -v '^ ' | sort -u)
loaded=$(awk '$6 ~ /\/qt6\/(qml|plugins|translations)\// { print $6 }' "/proc/$olvi/maps" | sort -u \
    | xargs dpkg-query -S | sed 's/:.*//' | sort -u)
missing=$(comm -23 <(echo "$loaded") <(echo "$needed"))
[ -z "$missing" ] || fail "Qt loaded modules from packages olvi does not depend on: $missing"
kill "$olvi"
wait "$olvi" || true
olvi=''

snapshot() { (cd "$home" && find . -printf '%p %m %s\n' -type f -exec sha256sum {} + | sort); }
before=$(snapshot)
grep -q 'Olvi/profile.json' <<<"$before" || fail "the learner's profile is gone"

# Whatever of the package still exists must be a folder another package owns.
left_behind() {
    local path
    for path in "${owned[@]}"; do
        if [ -e "$path" ] && ! { [ -d "$path" ] && dpkg-query -S "$path" >/dev/null 2>&1; }; then
            echo "$path"
        fi
    done
}
apt_get remove olvi
left=$(left_behind)
[ -z "$left" ] || fail "left after removal: $left"
# With no configuration files, removing already made dpkg forget it.
[ -z "$(status)" ] || purge
[ "$(status)" = "" ] || [ "$(status)" = not-installed ] || fail "dpkg still knows olvi: $(status)"
left=$(left_behind)
[ -z "$left" ] || fail "left after purge: $left"
[ "$(snapshot)" = "$before" ] || fail "removing the package changed the learner's home"
echo "installed, started, painted and removed cleanly (${#owned[@]} paths)"

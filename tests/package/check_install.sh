#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Olvi developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
#   check_install.sh <folder holding olvi_*.deb> <a learner's profile.json>
#
# Installs the package with apt as a user would, checks its launcher entry,
# starts the installed program on a private X server with a private home that
# holds the learner's profile, walks every screen and both file dialogs by
# keys, and checks that every QML module, plugin, library and translation Qt
# loaded comes from the package's dependencies; then removes and purges the
# package and checks that none of its files is left and the home is as the
# program left it. The package is purged whatever
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
source "$(dirname "$0")/desk.sh"
cleanup() {
    local rc=$?
    set +e
    end_programs
    if [ -n "$(status)" ] && [ "$(status)" != not-installed ]; then
        purge || rc=1
    fi
    rm -rf "$tmp"
    exit $rc
}
trap cleanup EXIT


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

start_xvfb
# Qt says which QML module files it reads (modules with no library of their
# own show nowhere else); libraries, plugins and translations show in the
# process's memory map.
env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$tmp/run" LANG=C.UTF-8 \
    DISPLAY="$display" QML_IMPORT_TRACE=1 /usr/bin/olvi >"$tmp/olvi.log" 2>&1 &
olvi=$!
window=''
poll 30 painted "$olvi" "$tmp/olvi.log" || fail "no painted window titled Олви: $(cat "$tmp/olvi.log")"
# The window, its launcher entry and the entry's icon agree, so a dock shows
# the icon: the X11 class and instance are the entry's name, the window
# carries the icon itself.
id=$(basename "$entry" .desktop)
[ "$(sed -n 's/^StartupWMClass=//p' "$entry")" = "$id" ] || fail "the entry's StartupWMClass is not $id"
[ "$(xprop -display "$display" -id "$window" WM_CLASS)" = "WM_CLASS(STRING) = \"$id\", \"$id\"" ] \
    || fail "the window's class is not $id: $(xprop -display "$display" -id "$window" WM_CLASS)"
has_icon() { xprop -display "$display" -id "$window" _NET_WM_ICON | grep -q 'Icon (64 x 64)'; }
poll 5 has_icon || fail "the window has no icon: $(xprop -display "$display" -id "$window" _NET_WM_ICON | head -c 300)"

# Every screen, then both of the progress screen's savings and its loading
# through Qt's own file dialog (there is no portal), all by keys: training
# (Ctrl+2 starts an exercise, a Latin letter brings the layout warning),
# manuscript, progress with its chart. Qt's texts are Russian in the C locale.
keys windowfocus --sync "$window" key ctrl+2 f ctrl+3 ctrl+4
poll 15 chart_shown || fail "the progress tab shows no speed chart"
grep -q '/qt6/translations/qtbase_ru\.qm$' "/proc/$olvi/maps" || fail "Qt's Russian texts not loaded"
save_from_progress "$olvi" 3 "$tmp/olvi.log" "$home/olvi-progress-*.json"
save_from_progress "$olvi" 2 "$tmp/olvi.log" "$home/olvi-days-*.csv"
open_and_cancel_loading "$olvi" "$tmp/olvi.log"
# QML speaks of a file it could not load by its address (and in Russian).
! grep -E '^(qrc|file):/' "$tmp/olvi.log" || fail "Qt could not load a part of the screens"

# Qt loads QML modules, plugins and its texts by name, out of the sight of
# dpkg-shlibdeps: every package it loaded one from must come with olvi's
# dependencies (or what they pull in); a file no package owns fails too.
needed=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances olvi | grep -v '^ ' | sort -u)
files=$( { awk '$6 ~ /^\/usr\/.*(\.so(\.[0-9.]+)?|\.qm)$/ { print $6 }' "/proc/$olvi/maps"
           sed -n 's/.*loaded "\(\/usr\/[^"]*\/qmldir\)".*/\1/p' "$tmp/olvi.log"; } | sort -u)
[ "$(grep -c /qmldir <<<"$files")" -ge 8 ] || fail "Qt's import trace named too few modules: $files"
# With /usr merged, dpkg may know a library by its old place under /lib.
owners=$(xargs dpkg-query -S <<<"$files" 2>"$tmp/unowned") || true
unowned=$(sed -n 's/^dpkg-query: no path found matching pattern \/usr//p' "$tmp/unowned")
[ -z "$unowned" ] || owners+=$'\n'$(xargs dpkg-query -S <<<"$unowned" 2>"$tmp/unowned") \
    || fail "files of no package: $(cat "$tmp/unowned")"
loaded=$(sed 's/:.*//' <<<"$owners" | tr ',' '\n' | sed 's/^ *//' | sort -u)
missing=$(comm -23 <(echo "$loaded") <(echo "$needed"))
[ -z "$missing" ] || fail "Qt loaded files from packages olvi does not depend on: $missing"
# Olvi is a Qt Quick program: the widgets library (and its few megabytes) has
# no business in it, not even for the dialogs or the bell.
! grep -q '/libQt6Widgets\.so' "/proc/$olvi/maps" || fail "the widgets library was loaded"
kill "$olvi"
wait "$olvi" || true
olvi=''
rm "$home"/olvi-progress-*.json "$home"/olvi-days-*.csv

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
echo "installed, every screen and dialog walked, removed cleanly (${#owned[@]} paths)"

# SPDX-FileCopyrightText: 2026 Olvi developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Sourced by the package tests: a private X server, the installed olvi's
# window on it, and a user's keys, the way a stranger would meet the program.
# The caller defines fail() and sets tmp (a scratch folder).

# Polls a condition until it holds or the seconds given have passed.
poll() {
    local until=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt "$until" ] || return 1
        sleep 0.2
    done
}

# Starts Xvfb on a display it picks (one us layout, as a minimal desktop has).
# Sets display and xvfb (its PID).
start_xvfb() {
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$tmp/display" 2>"$tmp/xvfb.log" &
    xvfb=$!
    poll 15 test -s "$tmp/display" || fail "Xvfb gave no display: $(cat "$tmp/xvfb.log")"
    display=:$(cat "$tmp/display")
}

# Ends what a test started (olvi, then Xvfb), by their PIDs.
end_programs() {
    local pid
    for pid in ${olvi:-} ${xvfb:-}; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
}

keys() { DISPLAY=$display xdotool "$@"; }

# The app's window is mapped and more than a few colours are in it: text drawn,
# not a blank frame. Sets window. $1 is the app's PID, $2 its log.
painted() {
    kill -0 "$1" 2>/dev/null || fail "olvi exited: $(cat "$2")"
    local colours
    window=$(keys search --onlyvisible --name '^Олви$' | head -n 1)
    [ -n "$window" ] || return 1
    colours=$(pixels | sort -u | wc -l)
    [ "$colours" -ge 16 ]
}

# The window's pixels, one "blue green red pad" line each: the last width ×
# height 32-bit words of the dump, in the byte order of this (little-endian) server.
pixels() {
    local size
    size=$(xwininfo -display "$display" -id "$window" \
        | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w * h }')
    xwd -silent -display "$display" -id "$window" | tail -c $((size * 4)) | od -An -v -tu1 -w4
}

# The progress tab shows its speed chart: thousands of pixels in the accent
# washed over the card (a tenth of the accent), the area under the curve, in
# either colour scheme. Nothing else on that tab is drawn in it.
chart_shown() {
    pixels | awk '
        function near(b, g, r) { return ($1 - b)^2 <= 6 && ($2 - g)^2 <= 6 && ($3 - r)^2 <= 6 }
        near(235.9, 238.6, 229.2) || near(55.4, 55.7, 36.5) { n++ }
        END { exit !(n > 5000) }'
}

# Qt's own file dialog (no portal here) has been made: its module is mapped.
dialog_loaded() { grep -q '/qt6/qml/QtQuick/Dialogs/' "/proc/$1/maps"; }

shot() { xwd -silent -display "$display" -id "$window" | md5sum; }
# The window shows something else than the shot $1 and has stopped changing
# (two shots alike in a row).
settled_away_from() {
    local now
    now=$(shot)
    if [ "$now" != "$1" ] && [ "$now" = "${last_shot:-}" ]; then
        return 0
    fi
    last_shot=$now
    return 1
}

# From the progress tab, opens Qt's dialog with one of the transfer buttons
# ($2: how many Shift+Tab from the end of the screen's focus chain), by keys
# only, and waits until it shows. $1 is the app's PID, $3 its log. Sets
# dialog_shot, the window with the dialog open.
open_dialog_from_progress() {
    local pid=$1 back=$2 log=$3 i before
    keys windowfocus --sync "$window" key ctrl+1 ctrl+4
    for ((i = 0; i < back; ++i)); do keys key shift+Tab; done
    last_shot=''
    poll 20 settled_away_from '' || fail "the progress tab never settled: $(cat "$log")"
    before=$last_shot
    keys key Return
    poll 20 dialog_loaded "$pid" || fail "no file dialog opened: $(cat "$log")"
    poll 20 settled_away_from "$before" || fail "the file dialog never showed: $(cat "$log")"
    dialog_shot=$last_shot
}

# Saves through the dialog opened as above: it proposes a name in the home
# folder (there is no Documents folder) with the cursor in the name, and Return
# saves it. Waits for a file named like $4 (a pattern) to be written.
save_from_progress() {
    open_dialog_from_progress "$1" "$2" "$3"
    keys key Return
    poll 20 saved "$4" || fail "nothing saved as $4: $(cat "$3")"
}
saved() {
    local file
    for file in $1; do
        [ -s "$file" ] && return 0
    done
    return 1
}

# Opens the dialog that loads progress, and closes it with Escape.
open_and_cancel_loading() {
    open_dialog_from_progress "$1" 1 "$2"
    keys key Escape
    poll 20 settled_away_from "$dialog_shot" || fail "the file dialog did not close: $(cat "$2")"
}

#!/usr/bin/env bash
# Runs the program on a headless Wayland compositor, as most desktops now run it: the window opens,
# a file named at start is scanned and its duplicates found, and closing writes the settings with
# the window's size remembered and the stored position left as it was, since a Wayland client can
# neither set nor read its windows' positions.
#
#   scripts/check-wayland.sh [PROGRAM]      (default build/twinscan)
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/twinscan}")

work=$(mktemp -d)
compositor=""
app=""
cleanup() {
    for pid in $app $compositor; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "check-wayland: $1" >&2
    for log in "$work"/*.log; do
        echo "--- ${log##*/}" >&2
        tail -n 20 "$log" >&2
    done
    exit 1
}

unset DISPLAY
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" HOME="$work/home"
export WAYLAND_DISPLAY=wayland-twinscan QT_QPA_PLATFORM=wayland
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/Corvane" "$HOME"

timeout 120 weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 \
    >"$work/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || fail "the compositor did not start"

# Three lines occur more than once: 5 duplicates of 2 texts. The stored position lies off every
# screen, where a window that could be placed would be moved to the middle.
printf 'b\na\nb\nc\na\nb\n' >"$work/small.txt"
ini="$XDG_CONFIG_HOME/Corvane/Twinscan.ini"
printf '[Twinscan]\nwinLeft=-30000\nwinTop=-30000\nwinWidth=9000\nwinHeight=7500\n' >"$ini"

# The protocol log shows the window being made and shown, and the title the scan gives it; the
# scan may come before the compositor has answered the window. In the foreground, timeout passes
# the TERM below on once; otherwise it sends it to its process group too, and on a busy machine
# that second signal can come late enough to end the program at once, before it saves.
WAYLAND_DEBUG=client timeout --foreground 60 "$program" "$work/small.txt" 2>"$work/protocol.log" &
app=$!
made='xdg_toplevel@[0-9]*\.set_app_id("com.corvane.Twinscan")'
shown='xdg_surface@[0-9]*\.ack_configure'
title="set_title(\"Twinscan [0-9.]* - $work/small.txt\")"
seen() { grep -q "$1" "$work/protocol.log"; }
for _ in $(seq 300); do
    seen "$made" && seen "$shown" && seen "$title" && break
    sleep 0.1
done
seen "$made" || fail "no window was made"
seen "$shown" || fail "the window was not shown"
seen "$title" || fail "the file named at start was not scanned"
# The scan of six lines ends long before this; the signal then closes the window as a user would.
sleep 2
kill -TERM "$app"
status=0
wait "$app" || status=$?
app=""
[ "$status" -eq 143 ] || fail "the program ended with status $status, not by the signal"

expect() {
    grep -qx "$1" "$ini" || fail "the settings lack $1: $(tr '\n' ' ' <"$ini")"
}
expect "lastLoadedFile=$work/small.txt"
expect "statDupsFound=5"
expect "statUniqueDupsFound=2"
expect "winLeft=-30000"
expect "winTop=-30000"
expect "winWidth=9000"
expect "winHeight=7500"
echo "wayland checks passed"

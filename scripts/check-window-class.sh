#!/usr/bin/env bash
# Starts the program on a virtual X display and checks that its window's class is CLASS, the one
# the desktop entry names for the desktop to match the window to its entry.
#
#   scripts/check-window-class.sh PROGRAM CLASS
set -euo pipefail
program=$1
class=$2

work=$(mktemp -d)
server=""
app=""
cleanup() {
    for pid in $app $server; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display and writes its number when it is ready.
Xvfb -displayfd 3 -screen 0 800x600x24 3>"$work/display" 2>/dev/null &
server=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")" XDG_CONFIG_HOME="$work/config" HOME="$work"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
timeout 60 "$program" &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Twinscan ' | head -n 1)
# WM_CLASS(STRING) = "instance", "class"
actual=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = ".*", "\(.*\)"$/\1/p')
if [ "$actual" != "$class" ]; then
    echo "check-window-class: the window's class is '$actual', the desktop entry names '$class'" >&2
    exit 1
fi

#!/usr/bin/env bash
# Runs inside the X server: starts the program, captures the screen twice
# and closes the program through its menu ("&File", "E&xit").
#   smoke_session.sh <kestrove> <output folder>
set -u
program=$1
out=$2

"$program" &
pid=$!

# Wait for the main window (its caption starts with KESTROVE).
window=""
for _ in $(seq 1 40); do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "the program ended before its window appeared"
        exit 1
    fi
    if command -v xdotool >/dev/null; then
        window=$(xdotool search --name '^KESTROVE' 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
    fi
    sleep 0.5
done
sleep 2

import -window root "$out/shot1.png" || exit 1
# On a busy machine a frame can take a while: wait for the picture to
# change, a few seconds at most.
for _ in $(seq 1 10); do
    sleep 0.5
    import -window root "$out/shot2.png" || exit 1
    changed=$(compare -metric AE "$out/shot1.png" "$out/shot2.png" null: 2>&1 | cut -d' ' -f1)
    [ "${changed%.*}" -gt 100 ] 2>/dev/null && break
done

# Close it as a user would: Alt+F opens "&File", X is "E&xit".
if [ -n "$window" ]; then
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key --clearmodifiers alt+f 2>/dev/null
    sleep 0.5
    xdotool key x 2>/dev/null
fi
for _ in $(seq 1 20); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.25
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not close from its menu"
    kill "$pid"
    wait "$pid"
    [ -z "$window" ] && exit 0 # no xdotool: closing by signal is all we can do
    exit 1
fi
wait "$pid"
echo "closed with status $?"

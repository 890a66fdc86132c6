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

# Drive the motion controls: "Stop" halts the wheel, "180" turns it to the
# rear dead centre, "Fwd" puts the reverse arm in full forward gear. The
# controls stand on the picture, which fills the window below the tool bar
# at its start size of 800 x 600.
if [ -n "$window" ]; then
    eval "$(xdotool getwindowgeometry --shell "$window")"
    px=$X
    py=$((Y + HEIGHT - 600))
    click() {
        xdotool mousemove $((px + $1)) $((py + $2)) click 1
        sleep 1
    }
    click 181 28 # Stop
    import -window root "$out/stop1.png"
    sleep 1
    import -window root "$out/stop2.png"
    click 153 28 # 180
    import -window root "$out/deg180.png"
    click 153 10 # Fwd
    import -window root "$out/fwd.png"
fi

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
